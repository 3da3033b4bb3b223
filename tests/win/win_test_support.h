#pragma once
// Wine-run test helpers: a private folder per test, and a countdown window that
// keeps its store there and hands every frame's pixels to the test.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/handles_win.h"
#include "shell/countdown_wnd_win.h"

using namespace tallyglass;

// A settings file in a font that Wine has (DejaVu; Windows fonts are not
// installed), without the alert sound, and the given lines.
inline std::string TestIni(const std::string& extra = "") {
    return "[settings]\nfontname=DejaVu Sans\nwavalert=0\n" + extra;
}

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::wstring& Path() const { return m_path; }
    std::wstring File(const wchar_t* name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
};

std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
// The file held open without sharing, as another program may hold it.
FileHandle HoldOpen(const std::wstring& path);
void PumpMessages(DWORD milliseconds = 0);
// Pumps messages until the condition holds (true) or the bound runs out (false).
bool PumpUntil(const std::function<bool()>& condition, DWORD boundMs);

struct Frame {
    int32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    static uint8_t Alpha(uint32_t p) { return p >> 24; }
    static uint8_t Red(uint32_t p) { return p >> 16 & 0xFF; }
    static uint8_t Green(uint32_t p) { return p >> 8 & 0xFF; }
    static uint8_t Blue(uint32_t p) { return p & 0xFF; }
    RECT OpaqueBounds() const;  // of the pixels with any alpha
};

struct TestClock {
    explicit TestClock(const std::string& ini, bool manualTicks = true, uint32_t dpiOverride = 0,
                       std::optional<CaptureSystem> captureSystem = std::nullopt);
    // The sound commands the clock sent, each followed by "; ".
    std::shared_ptr<std::string> soundCommands = std::make_shared<std::string>();
    ~TestClock();
    TestClock(const TestClock&) = delete;  // its frame observer points back at it
    TestClock& operator=(const TestClock&) = delete;
    CountdownWnd* operator->() { return window.get(); }
    const Frame& LastFrame() const { return *lastFrame; }
    // The live timer's tick, on time, or lateMs after its second was due (a sleep).
    void Tick(uint32_t lateMs = 0) {
        const CountdownModel& model = window->Model();
        SendMessageW(window->GetSafeHwnd(), kTickMessage, model.m_timerId, NextTickDueMs(model) + lateMs);
    }
    // Through the key filter, as the modal loop would; flags as in WM_KEYDOWN's lParam.
    void Key(UINT message, WPARAM key, LPARAM flags = 0);
    RECT WindowRect() const;

    TempFolder folder;
    std::wstring storePath;
    std::shared_ptr<Frame> lastFrame = std::make_shared<Frame>();
    std::shared_ptr<bool> allPremultiplied = std::make_shared<bool>(true);
    // The narrowest clear strip right of the glyphs in any frame so far.
    std::shared_ptr<int> narrowestRightGap = std::make_shared<int>(INT_MAX);
    std::unique_ptr<CountdownWnd> window;
};
