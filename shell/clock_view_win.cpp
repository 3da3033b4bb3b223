#include "shell/clock_view_win.h"

#include "clock/clock_notes.h"
#include "framework/text_win.h"
#include "render/message_fit.h"
#include "render/screen_win.h"
#include "shell/clock_frame_win.h"

namespace tallyglass {

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
    const std::vector<ScreenRect> workAreas = MonitorWorkAreas();
    // A place on no monitor (a projector that is gone) is brought back on screen.
    ScreenPoint place = PlaceOnScreen({left, top, left + size.width, top + size.height}, workAreas);
    m_lines.clear();
    m_messageLaidOut = model.m_message;
    m_notesLaidOut = ClockNotes(model);
    if (!model.m_message.empty() || !m_notesLaidOut.empty()) {
        // The lines under the time have the room of the work area the time stands on,
        // and the window they widen is kept wholly on that area.
        const ScreenRect* area = WorkAreaOf({place.x, place.y, place.x + size.width, place.y + size.height}, workAreas);
        const PixelSize room =
            area ? PixelSize{static_cast<int32_t>(area->Width()), static_cast<int32_t>(area->Height())} : m_sizeCap;
        const MessageLayout layout = LayOutLinesUnder(model.m_message, content, measured, room);
        if (!layout.lines.empty()) {
            size = layout.window;
            model.m_textX = layout.textX;
            if (area) place = PlaceWithin({place.x, place.y, place.x + size.width, place.y + size.height}, *area);
        }
    }
    model.m_width = size.width;
    model.m_height = size.height;
    // No activation: the presenter's slide show keeps the keyboard.
    SetWindowPos(window, nullptr, place.x, place.y, size.width, size.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

MessageLayout ClockView::LayOutLinesUnder(const std::string& message, const FrameContent& content, PixelSize measured,
                                          PixelSize workArea) {
    const auto width = [&](const std::wstring& text) {
        return m_painter.Measure(text, content.fontName, content.messageSize).width;
    };
    std::vector<int32_t> widths;
    for (const ClockNote& note : m_notesLaidOut) {
        m_lines.push_back({Widen(note.text), 0, 0, note.color});
        widths.push_back(width(m_lines.back().text));
    }
    const auto notes = static_cast<int32_t>(widths.size());
    const MessageRoom room = RoomForMessage(measured, content.margin, content.messageSize, workArea, notes);
    // The same message in the same room (a relayout each minute, a wider overtime) is not fitted again.
    const FitKey key{message, content.fontName, content.messageSize, room.width, room.lines};
    if (message.empty()) {
        m_fitted.clear();
        m_fittedWidths.clear();
        m_fitKey = {};
    } else if (!(m_fitKey == key)) {
        m_fitted.clear();
        m_fittedWidths.clear();
        for (const std::string& line :
             FitMessage(message, room.width, room.lines, [&](std::string_view text) { return width(Widen(text)); })) {
            m_fitted.push_back(Widen(line));
            m_fittedWidths.push_back(width(m_fitted.back()));
        }
        m_fitKey = key;
    }
    widths.insert(widths.end(), m_fittedWidths.begin(), m_fittedWidths.end());
    for (const std::wstring& line : m_fitted) m_lines.push_back({line, 0, 0, 0});
    const MessageLayout layout = LayOutMessage(measured, widths, content.margin, content.messageSize, m_sizeCap);
    for (size_t i = 0; i < m_lines.size(); ++i) {
        m_lines[i].x = layout.lines[i].x;
        m_lines[i].y = layout.lines[i].y;
    }
    return layout;
}

void ClockView::Present(HWND window, const CountdownModel& model) {
    FrameContent content = ClockFrame(model, m_dpi, m_sizeCap);
    // Only lines laid out for this very message and these notes: nothing is measured while a frame is drawn.
    if (model.m_message == m_messageLaidOut && ClockNotes(model) == m_notesLaidOut) content.message = m_lines;
    // A blink's dark half: the message's lines keep their places, so that the time stays where it stands.
    if (model.m_messageHidden)
        for (MessageLine& line : content.message)
            if (line.color == 0) line.text.clear();
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
            // Notes that changed (the schedule's second, a slide) may need a wider window.
            if (ClockNotes(model) != m_notesLaidOut) return Show(window, model, EngineEffects::Picture::LayoutInPlace);
            return Present(window, model);
        case EngineEffects::Picture::None:
            return;
    }
}

void ClockView::MoveToMonitor(HWND window, CountdownModel& model) {
    const std::optional<ScreenRect> area = NamedMonitorWorkArea(model.m_monitorName);
    RECT rect;
    if (!area || !GetWindowRect(window, &rect)) return;
    const ScreenRect now{rect.left, rect.top, rect.right, rect.bottom};
    const int64_t centreX = (int64_t{now.left} + now.right) / 2, centreY = (int64_t{now.top} + now.bottom) / 2;
    if (centreX >= area->left && centreX < area->right && centreY >= area->top && centreY < area->bottom) return;
    const auto left = static_cast<int32_t>(area->left + (area->Width() - now.Width()) / 2);
    const auto top = static_cast<int32_t>(area->top + (area->Height() - now.Height()) / 2);
    PlaceAt(window, model, left, top);
}

void RecordPlace(HWND window, CountdownModel& model) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return;
    model.m_posLeft = rect.left;
    model.m_posTop = rect.top;
}

}  // namespace tallyglass
