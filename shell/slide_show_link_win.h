#pragma once
// The slide show's watcher joined to the clock's window: what it sees on its thread is
// kept here and the window told by a posted message; the window takes the latest sight
// when the message comes (sights in between are of no use once a later one is there).
#include <windows.h>

#include <memory>
#include <mutex>
#include <optional>

#include "command/slide_show_seen.h"
#include "slides/slide_show_watcher_win.h"

namespace tallyglass {

class SlideShowLink {
public:
    explicit SlideShowLink(HWND window);
    // The latest sight not yet taken. The clock's own windows in front (its menu, About,
    // the settings window opened over the show) count as the show's: the presenter has not
    // left it for another program.
    std::optional<SlideShowSeen> Take();
    // From the foreground hook, for the window fallback.
    void OnForeground(HWND foreground) { m_watcher.OnForeground(foreground); }

private:
    struct Mailbox {
        explicit Mailbox(HWND target) : window(target) {}
        const HWND window;  // known before the watcher's first sight
        std::mutex lock;
        std::optional<SlideShowSeen> latest;
    };
    std::shared_ptr<Mailbox> m_mailbox;
    SlideShowWatcher m_watcher;  // after the mailbox its callback fills: stopped first
};

}  // namespace tallyglass
