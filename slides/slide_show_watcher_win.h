#pragma once
// Watches for a slide show on a thread of its own, twice a second: PowerPoint through
// its automation object, else the show's full-screen window. It tells its owner only
// when what it sees changes, on that thread; it never touches a window of the clock.
//
// The shell makes one only when the settings ask for it (nothing runs otherwise),
// once the window shows; its callback keeps the newest SlideShowSeen under a lock and
// posts the window a message when none is pending (the window takes the newest); the
// foreground hook (TopmostKeeper's EVENT_SYSTEM_FOREGROUND) hands it each foreground
// window through OnForeground; it is destroyed before the window at WM_DESTROY.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "command/slide_show_seen.h"
#include "framework/handles_win.h"

namespace tallyglass {

struct SlideShowWatchTiming {
    DWORD periodMs = 500;      // between rounds
    DWORD callBoundMs = 250;   // one call waits at most this long where COM cancels safely
    DWORD stopBoundMs = 1000;  // the destructor waits at most this long for the thread
};

class SlideShowWatcher {
public:
    // Called on the watcher's thread with what it sees whenever that changes. It must
    // not wait on the clock's window (post, never send): the destructor holds a lock
    // that the callback also takes.
    using SeenCallback = std::function<void(const SlideShowSeen&)>;

    explicit SlideShowWatcher(SeenCallback seen, SlideShowWatchTiming timing = SlideShowWatchTiming());
    // Stops the thread and waits for it at most timing.stopBoundMs. A thread still inside a
    // call PowerPoint does not answer is left to end by itself once it returns: it owns
    // everything it uses, and the callback is never called again after this.
    ~SlideShowWatcher();
    SlideShowWatcher(const SlideShowWatcher&) = delete;
    SlideShowWatcher& operator=(const SlideShowWatcher&) = delete;

    // From the shell's foreground hook (EVENT_SYSTEM_FOREGROUND), on its thread: the
    // window now in front, for the window fallback, and a round at once.
    void OnForeground(HWND foreground);
    // Rounds run so far: the pace of the watcher's thread, for tests and figures.
    uint64_t Rounds() const;
    // GetIDsOfNames and Invoke calls made so far, for figures.
    uint64_t Calls() const;

    struct Shared;

private:
    std::shared_ptr<Shared> m_shared;
    KernelHandle m_thread;
};

}  // namespace tallyglass
