#include "shell/clock_view_win.h"

#include "render/screen_win.h"
#include "shell/clock_frame_win.h"

void ClockView::LayOutAt(HWND window, CountdownModel& model, int32_t left, int32_t top) {
    PlaceAt(window, model, left, top);
    Present(window, model);
}

void ClockView::PlaceAt(HWND window, CountdownModel& model, int32_t left, int32_t top) {
    m_sizeCap = WindowCapFor({GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)});
    const FrameContent content = ClockFrame(model, m_dpi, m_sizeCap);
    model.m_margin = content.margin;
    const PixelSize measured = m_painter.Measure(content.text, content.fontName, content.fontSize);
    PixelSize size = WindowSizeFor(measured, content.margin, m_sizeCap);
    if (!content.message.empty()) {
        const PixelSize message = m_painter.Measure(content.message, content.fontName, content.messageSize);
        const TwoLines lines = LayOutTwoLines(measured, message, content.margin, content.messageSize, m_sizeCap);
        size = lines.window;
        model.m_textX = lines.textX;
        model.m_messageX = lines.messageX;
        model.m_messageY = lines.messageY;
    }
    model.m_width = size.width;
    model.m_height = size.height;
    // A place on no monitor (a projector that is gone) is brought back on screen.
    const ScreenPoint place = PlaceOnScreen({left, top, left + size.width, top + size.height}, MonitorWorkAreas());
    // No activation: the presenter's slide show keeps the keyboard.
    SetWindowPos(window, nullptr, place.x, place.y, size.width, size.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ClockView::Present(HWND window, const CountdownModel& model) {
    const FrameContent content = ClockFrame(model, m_dpi, m_sizeCap);
    m_presenter.Present(window, content.size, [this, &content](FrameSurface& surface, bool holdsLastFrame) {
        return m_painter.Paint(surface, content, holdsLastFrame);
    });
}

void ClockView::Show(HWND window, CountdownModel& model, EngineEffects::Picture picture) {
    RECT rect{};
    switch (picture) {
        case EngineEffects::Picture::LayoutAtPosition:
            return LayOutAt(window, model, model.m_posLeft, model.m_posTop);
        case EngineEffects::Picture::LayoutInPlace:
            GetWindowRect(window, &rect);
            return LayOutAt(window, model, rect.left, rect.top);
        case EngineEffects::Picture::Frame:
            return Present(window, model);
        case EngineEffects::Picture::None:
            return;
    }
}
