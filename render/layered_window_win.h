#pragma once
// Hands painted frames to a layered window with per-pixel alpha. The entry
// point is looked up at run time, as on systems that may lack it.
#include <windows.h>
#include <gdiplus.h>

#include <functional>

#include "framework/handles_win.h"
#include "render/frame_win.h"
#include "render/layout.h"

class LayeredPresenter {
public:
    // Paints into a surface of the frame's size, cleared to 0.
    using Painter = std::function<void(FrameSurface&)>;
    using Observer = std::function<void(const FramePixels&)>;

    // Loads the library that should hold UpdateLayeredWindow.
    explicit LayeredPresenter(const wchar_t* user32Name);
    LayeredPresenter(const LayeredPresenter&) = delete;
    LayeredPresenter& operator=(const LayeredPresenter&) = delete;

    bool Ready() const { return m_update != nullptr; }
    // Test seam: sees every frame's pixels before they go to the screen.
    void SetObserver(Observer observer) { m_observer = std::move(observer); }

    // Paints a frame of the given size and shows it at the window's place. The
    // window becomes layered with its first frame. A frame asked for while one
    // is being painted is dropped.
    void Present(HWND window, PixelSize size, const Painter& paint);

    const BLENDFUNCTION& Blend() const { return m_blend; }
    void SetConstantAlpha(BYTE alpha) { m_constantAlpha = alpha; }
    bool FrameInProgress() const { return m_memDC != nullptr; }

private:
    void Show(HWND window, PixelSize size, HDC source);

    LoadedModule m_user32;
    decltype(&::UpdateLayeredWindow) m_update = nullptr;
    BLENDFUNCTION m_blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    HDC m_memDC = nullptr;       // the frame in progress, and nothing else
    BYTE m_constantAlpha = 253;  // a hair below opaque, as the clock has always been drawn
    Observer m_observer;
};
