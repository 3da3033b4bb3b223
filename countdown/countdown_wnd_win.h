#pragma once
// The clock's one window: a modal dialog from template 102, layered, topmost,
// off the taskbar. It owns the settings, the engine state and every frame.
#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "core/core_win.h"
#include "countdown/countdown_engine.h"
#include "framework/dialog_win.h"
#include "render/display_text.h"
#include "render/frame_win.h"

// Posted by the timer's callback to the UI thread: wParam is the timer's id.
constexpr UINT kTickMessage = WM_APP + 1;

struct CountdownWndOptions {
    std::wstring storePath;  // empty: the usual place
    std::wstring appPath;    // empty: the exe's folder
    // Tests tick by hand: no multimedia timer is armed and ids are counted up.
    bool manualTicks = false;
    const wchar_t* user32Name = L"User32.DLL";
    // Test seam: sees every frame's pixels before they go to the screen.
    std::function<void(const FramePixels&)> frameObserver;
    // What to do when the layered-window entry point is missing. The default
    // shows "User32.dll ERROR!" and exits with a failure status.
    std::function<void()> fatalError;
};

class CountdownWnd : public Dialog, public CountdownModel, private EngineHost {
public:
    explicit CountdownWnd(HWND parent = nullptr, CountdownWndOptions options = {});
    ~CountdownWnd() override;

    BOOL PreTranslateMessage(MSG* msg) override;

    void StartCountdown();
    void ResetCountdown();
    void OnTimerTick();

    void Relayout() override;
    void PresentFrame() override;
    void CenterWindow() override;
    void PlayAlertSound() override;

    std::string FormatTimeText(int32_t seconds) const;
    DisplayChoice SelectDisplay() const;
    PixelSize MeasureText(const std::string& text, const std::string& fontName, int32_t size) const;
    void PaintBackground(Gdiplus::Graphics* graphics);
    void PaintText(Gdiplus::Graphics* graphics);

    CCore* Core() const { return m_core.get(); }
    bool PeriodRequested() const { return m_periodRequested; }

    struct FreeDeleter {
        void operator()(void* p) const { std::free(p); }
    };

    std::unique_ptr<CCore> m_core;
    std::unique_ptr<tagSoft, FreeDeleter> m_soft;
    HDC m_memDC = nullptr;
    BLENDFUNCTION m_blend{};
    HMODULE m_user32 = nullptr;
    decltype(&::UpdateLayeredWindow) m_pfnUpdateLayeredWindow = nullptr;
    std::wstring m_appPath;
    std::wstring m_alertWavPath;
    UINT m_timerResolution = 0;
    HICON m_icon = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    // Enter and Esc never end the clock; the key filter swallows them anyway.
    void OnOK() override {}
    void OnCancel() override {}

private:
    int OnCreate(CREATESTRUCTW* create);
    void OnDestroy();
    void OnPaint();
    HICON OnQueryDragIcon() const { return m_icon; }
    void OnGetMinMaxInfo(MINMAXINFO* info);
    void OnLButtonDown();
    void OnRButtonUp();
    void ShowContextMenu(int popupPosition);
    void OnNewCountdown();
    void OnAbout();
    void OnExit();
    void OnEndSession(bool ending);
    void OnTickMessage(uint32_t timerId);

    void ReadSettings();
    void StoreSettings();
    void ChooseTimerResolution();
    uint32_t StartPeriodicTimer() override;
    void StopPeriodicTimer(uint32_t timerId) override;
    static void CALLBACK TimerProc(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR);

    CountdownWndOptions m_options;
    bool m_periodRequested = false;
    bool m_settingsStored = false;
    uint32_t m_manualTimerIds = 0;
    PixelSize m_sizeCap{7680, 4320};  // from the last layout
};
