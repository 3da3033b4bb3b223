#pragma once
// The clock's picture, apart from its messages: lays the window out for the
// model's text at the monitor's DPI, keeps it on screen, and presents frames.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "clock/clock_notes.h"
#include "clock/countdown_engine.h"
#include "clock/countdown_model.h"
#include "render/layered_window_win.h"

namespace tallyglass {

// The window's place as the model's, where a new length is laid out and what is stored.
void RecordPlace(HWND window, CountdownModel& model);

class ClockView {
public:
    // Loads the library that should hold UpdateLayeredWindow.
    explicit ClockView(const wchar_t* user32Name) : m_presenter(user32Name) {}

    bool Ready() const { return m_presenter.Ready(); }
    LayeredPresenter& Presenter() { return m_presenter; }
    const LayeredPresenter& Presenter() const { return m_presenter; }
    uint32_t Dpi() const { return m_dpi; }
    void SetDpi(uint32_t dpi) { m_dpi = dpi; }

    // Sizes the window for the model's text, sets its margin and size in the
    // model, and puts it at (left, top), or on screen where that is on no monitor.
    void LayOutAt(HWND window, CountdownModel& model, int32_t left, int32_t top);
    // LayOutAt without the frame.
    void PlaceAt(HWND window, CountdownModel& model, int32_t left, int32_t top);
    void Present(HWND window, const CountdownModel& model);
    // An event's picture: laid out at the model's place or where the window stands, or only drawn.
    void Show(HWND window, CountdownModel& model, EngineEffects::Picture picture);
    // With a monitor named in the settings, the clock stands centred on it unless it
    // stands there already (the alert is then centred there too); the next frame shows it.
    void MoveToMonitor(HWND window, CountdownModel& model);

private:
    // The notes' lines, then the message's fitted to the room the work area leaves, and where they stand.
    MessageLayout LayOutLinesUnder(const std::string& message, const FrameContent& content, PixelSize measured,
                                   PixelSize workArea);

    struct FitKey {
        std::string message;
        std::wstring fontName;
        int32_t size = 0, width = 0, lines = 0;
        bool operator==(const FitKey& other) const {
            return size == other.size && width == other.width && lines == other.lines && message == other.message &&
                   fontName == other.fontName;
        }
    };
    LayeredPresenter m_presenter;
    FramePainter m_painter;
    PixelSize m_sizeCap{7680, 4320};  // from the last layout
    uint32_t m_dpi = 96;
    FitKey m_fitKey;
    std::vector<std::wstring> m_fitted;  // for m_fitKey
    std::vector<int32_t> m_fittedWidths;
    std::string m_messageLaidOut;  // the model's message at the last layout
    std::vector<ClockNote> m_notesLaidOut;
    std::vector<MessageLine> m_lines;  // the notes', then the message's
};

}  // namespace tallyglass
