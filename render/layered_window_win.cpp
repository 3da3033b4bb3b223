#include "render/layered_window_win.h"

namespace {
class FrameDcScope {
public:
    FrameDcScope(HDC& slot, HDC dc) : m_slot(slot) { m_slot = dc; }
    FrameDcScope(const FrameDcScope&) = delete;
    FrameDcScope& operator=(const FrameDcScope&) = delete;
    ~FrameDcScope() { m_slot = nullptr; }

private:
    HDC& m_slot;
};
}  // namespace

LayeredPresenter::LayeredPresenter(const wchar_t* user32Name) : m_user32(LoadLibraryW(user32Name)) {
    if (!m_user32) return;
    // Through void* because FARPROC and the real signature are distinct function types.
    m_update = reinterpret_cast<decltype(m_update)>(
        reinterpret_cast<void*>(GetProcAddress(m_user32.get(), "UpdateLayeredWindow")));
}

void LayeredPresenter::Present(HWND window, PixelSize size, const Painter& paint) {
    if (!window || !m_update || m_memDC) return;
    WindowDc compatible(window);
    FrameSurface surface(compatible.get(), size.width, size.height);
    FrameDcScope frameDc(m_memDC, surface.Dc());
    m_blend.SourceConstantAlpha = m_constantAlpha;
    if (!surface.Valid()) return;  // the window keeps showing the previous frame
    paint(surface);
    GdiFlush();
    if (m_observer) m_observer(surface.Pixels());
    Show(window, size, surface.Dc());
}

void LayeredPresenter::Show(HWND window, PixelSize size, HDC source) {
    WindowDc destination(window);
    RECT rect{};
    GetWindowRect(window, &rect);
    POINT destinationPoint{rect.left, rect.top};
    SIZE extent{size.width, size.height};
    POINT sourcePoint{0, 0};
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    if (!(exStyle & WS_EX_LAYERED)) SetWindowLongW(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    m_update(window, destination.get(), &destinationPoint, &extent, source, &sourcePoint, 0, &m_blend, ULW_ALPHA);
}
