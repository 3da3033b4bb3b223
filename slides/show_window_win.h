#pragma once
// A slide show's full-screen window (class screenClass), for when automation cannot
// be had: it tells begin and end, and whether the show is in front, and nothing of
// its slides.
#include <windows.h>

#include <atomic>

namespace tallyglass {

// Whether the foreground window is the show's, or another window of the program
// that shows it (PowerPoint's presenter view, say).
bool ShowInFront(HWND show, HWND foreground);

class ShowWindowWatch {
public:
    struct Seen {
        bool running = false;
        bool foreground = false;
    };
    // The foreground window changed: from the shell's foreground hook, on any thread.
    void OnForeground(HWND foreground) { m_fed = foreground; }
    // Each round, on the watcher's thread: the window fed last if it is a show's,
    // else the one seen before while it lasts, else any top-level one of the class.
    Seen Check();

private:
    std::atomic<HWND> m_fed{nullptr};
    HWND m_show = nullptr;
};

}  // namespace tallyglass
