#pragma once
// The clock window's own messages and timer ids, in one place so that no two collide.
#include <windows.h>

namespace tallyglass {

// Posted by a timer's callback to the UI thread: wParam is the timer's id,
// lParam the performance counter's milliseconds when it fired.
constexpr UINT kTickMessage = WM_APP + 1;
// Posted to itself at the end of WM_INITDIALOG: the start-up's rest, once the window shows.
constexpr UINT kFinishStartMessage = WM_APP + 2;
// Posted by the network side when orders wait; the window takes them all at once.
constexpr UINT kRemoteOrderMessage = WM_APP + 3;
// Posted by the slide show's watcher when it sees something new; the window takes the latest.
constexpr UINT kSlideShowMessage = WM_APP + 4;

// The idle clock's timer, set for each minute's turn.
constexpr UINT_PTR kMinuteTimerId = 7;
constexpr UINT_PTR kBlinkTimerId = 8;       // the message's blink
constexpr UINT_PTR kScheduleTimerId = 9;    // each second while the show has planned starts
constexpr UINT_PTR kSlideAwayTimerId = 10;  // once, while a slide show is left for another program
// The topmost keeper's check, while a full-screen window may cover the clock.
constexpr UINT_PTR kTopmostCheckTimerId = 0x7A11;

}  // namespace tallyglass
