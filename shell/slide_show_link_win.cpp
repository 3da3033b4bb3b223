#include "shell/slide_show_link_win.h"

#include "framework/window_style_win.h"
#include "shell/window_messages_win.h"

namespace tallyglass {

SlideShowLink::SlideShowLink(HWND window)
    : m_mailbox(std::make_shared<Mailbox>(window)), m_watcher([mailbox = m_mailbox](const SlideShowSeen& seen) {
          std::lock_guard<std::mutex> hold(mailbox->lock);
          const bool waiting = mailbox->latest.has_value();
          mailbox->latest = seen;
          // One message for any number of sights: the window takes the latest.
          if (!waiting) PostMessageW(mailbox->window, kSlideShowMessage, 0, 0);
      }) {}

std::optional<SlideShowSeen> SlideShowLink::Take() {
    std::optional<SlideShowSeen> seen;
    {
        std::lock_guard<std::mutex> hold(m_mailbox->lock);
        seen.swap(m_mailbox->latest);
    }
    if (seen && seen->running && !seen->foreground && OfThisProcess(GetForegroundWindow())) seen->foreground = true;
    return seen;
}

}  // namespace tallyglass
