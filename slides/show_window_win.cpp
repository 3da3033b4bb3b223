#include "slides/show_window_win.h"

#include <iterator>

#include "framework/window_style_win.h"

namespace tallyglass {

namespace {
constexpr wchar_t kShowClass[] = L"screenClass";

bool IsShowWindow(HWND window) {
    wchar_t name[32] = {};
    return window && GetClassNameW(window, name, static_cast<int>(std::size(name))) > 0 &&
           lstrcmpW(name, kShowClass) == 0 && IsWindowVisible(window);
}

}  // namespace

bool ShowInFront(HWND show, HWND foreground) {
    if (!show || !foreground) return false;
    if (foreground == show || GetAncestor(foreground, GA_ROOTOWNER) == GetAncestor(show, GA_ROOTOWNER)) return true;
    const DWORD process = ProcessOfWindow(show);
    return process != 0 && process == ProcessOfWindow(foreground);
}

ShowWindowWatch::Seen ShowWindowWatch::Check() {
    if (const HWND fed = m_fed.exchange(nullptr); fed && IsShowWindow(GetAncestor(fed, GA_ROOT)))
        m_show = GetAncestor(fed, GA_ROOT);
    if (!IsShowWindow(m_show)) m_show = FindWindowW(kShowClass, nullptr);
    if (!IsShowWindow(m_show)) m_show = nullptr;
    return Seen{m_show != nullptr, ShowInFront(m_show, GetForegroundWindow())};
}

}  // namespace tallyglass
