#include "render/layered_window_win.h"

namespace tallyglass {

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
    m_updateIndirect = reinterpret_cast<decltype(m_updateIndirect)>(
        reinterpret_cast<void*>(GetProcAddress(m_user32.get(), "UpdateLayeredWindowIndirect")));
}

void LayeredPresenter::Present(HWND window, PixelSize size, const Painter& paint) {
    if (!window || !m_update || m_memDC) return;
    std::unique_ptr<FrameSurface> fresh;
    FrameSurface* surface = SurfaceFor(window, size, fresh);
    FrameDcScope frameDc(m_memDC, surface->Dc());
    m_blend.SourceConstantAlpha = m_constantAlpha;
    if (!surface->Valid()) return;  // the window keeps showing the previous frame
    const FrameArea changed = paint(*surface, !fresh);
    GdiFlush();
    if (m_observer) m_observer(surface->Pixels());
    Show(window, size, surface->Dc(), fresh ? nullptr : &changed);
    // An idle clock paints once: its surface is kept only once a second frame of its size shows that frames come.
    if (fresh && m_lastSize && m_lastSize->width == size.width && m_lastSize->height == size.height)
        m_kept = std::move(fresh);
    m_lastSize = size;
}

FrameSurface* LayeredPresenter::SurfaceFor(HWND window, PixelSize size, std::unique_ptr<FrameSurface>& fresh) {
    const FramePixels kept = m_kept ? m_kept->Pixels() : FramePixels{};
    if (m_kept && m_kept->Valid() && kept.width == size.width && kept.height == size.height) return m_kept.get();
    m_kept.reset();
    WindowDc compatible(window);
    fresh = std::make_unique<FrameSurface>(compatible.get(), size.width, size.height);
    return fresh.get();
}

void LayeredPresenter::Show(HWND window, PixelSize size, HDC source, const FrameArea* changed) {
    const Pushed pushed{window, size, m_blend.SourceConstantAlpha};
    // The window keeps what it was last given, so only the changed area need go, as long as
    // nothing else about the picture (its window, size, opacity) has changed since.
    const bool partial = changed && m_updateIndirect && m_pushed == pushed;
    if (partial && changed->Empty()) return;
    WindowDc destination(window);
    RECT rect{};
    GetWindowRect(window, &rect);
    POINT destinationPoint{rect.left, rect.top};
    SIZE extent{size.width, size.height};
    POINT sourcePoint{0, 0};
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    if (!(exStyle & WS_EX_LAYERED)) SetWindowLongW(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    if (partial) {
        const RECT dirty{changed->left, changed->top, changed->right, changed->bottom};
        UPDATELAYEREDWINDOWINFO info{sizeof info, destination.get(), &destinationPoint, &extent, source, &sourcePoint,
                                     0,           &m_blend,          ULW_ALPHA,         &dirty};
        if (m_updateIndirect(window, &info)) return;
    }
    m_pushed =
        m_update(window, destination.get(), &destinationPoint, &extent, source, &sourcePoint, 0, &m_blend, ULW_ALPHA)
            ? std::optional<Pushed>(pushed)
            : std::nullopt;
}

}  // namespace tallyglass
