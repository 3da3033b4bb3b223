#pragma once
// Hands painted frames to a layered window with per-pixel alpha. The entry
// point is looked up at run time, as on systems that may lack it.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>

#include "framework/handles_win.h"
#include "render/frame_win.h"
#include "render/layout.h"

namespace tallyglass {

class LayeredPresenter {
public:
    // Paints into a surface of the frame's size, cleared to 0 or, when told so, holding
    // the painter's last frame; answers the area that changed.
    using Painter = std::function<FrameArea(FrameSurface&, bool holdsLastFrame)>;
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
    // is being painted is dropped. From the second frame of a size on the surface
    // is kept, and only the area that changed goes to the screen.
    void Present(HWND window, PixelSize size, const Painter& paint);

    const BLENDFUNCTION& Blend() const { return m_blend; }
    void SetConstantAlpha(BYTE alpha) { m_constantAlpha = alpha; }
    bool FrameInProgress() const { return m_memDC != nullptr; }

private:
    struct Pushed {
        HWND window;
        PixelSize size;
        BYTE constantAlpha;
        bool operator==(const Pushed& other) const {
            return window == other.window && size.width == other.size.width && size.height == other.size.height &&
                   constantAlpha == other.constantAlpha;
        }
    };
    FrameSurface* SurfaceFor(HWND window, PixelSize size, std::unique_ptr<FrameSurface>& fresh);
    void Show(HWND window, PixelSize size, HDC source, const FrameArea* changed);

    LoadedModule m_user32;
    decltype(&::UpdateLayeredWindow) m_update = nullptr;
    decltype(&::UpdateLayeredWindowIndirect) m_updateIndirect = nullptr;
    std::unique_ptr<FrameSurface> m_kept;  // the last frame, while frames of its size come
    std::optional<PixelSize> m_lastSize;
    std::optional<Pushed> m_pushed;
    BLENDFUNCTION m_blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    HDC m_memDC = nullptr;       // the frame in progress, and nothing else
    BYTE m_constantAlpha = 253;  // a hair below opaque, as the clock has always been drawn
    Observer m_observer;
};

}  // namespace tallyglass
