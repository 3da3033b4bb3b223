#include "framework/dialog_win.h"

#include <cstdio>

#include "framework/resource_language_win.h"

namespace tallyglass {

namespace {
constexpr wchar_t kThisProperty[] = L"Tallyglass.Dialog";
thread_local Dialog* t_creating = nullptr;
thread_local int t_modalDepth = 0;

// Unhooks when creation ends, whichever way it ends.
class CreationScope {
public:
    CreationScope(Dialog* dialog, HOOKPROC hook)
        : m_hook(SetWindowsHookExW(WH_CBT, hook, nullptr, GetCurrentThreadId())) {
        t_creating = dialog;
    }
    ~CreationScope() {
        t_creating = nullptr;
        if (m_hook) UnhookWindowsHookEx(m_hook);
    }

private:
    HHOOK m_hook;
};
}  // namespace

Dialog::Dialog(UINT templateId) : m_templateId(templateId) {}

Dialog::~Dialog() { Destroy(); }

void Dialog::Attach(HWND hwnd) {
    m_hwnd = hwnd;
    SetPropW(hwnd, kThisProperty, this);
    // Subclassing at creation lets the window see WM_CREATE like any other message.
    m_defaultProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Dialog::SubclassProc)));
}

LRESULT CALLBACK Dialog::CreationHook(int code, WPARAM wParam, LPARAM lParam) noexcept {
    if (code == HCBT_CREATEWND && t_creating) {
        Dialog* dialog = t_creating;
        t_creating = nullptr;  // the dialog is the first window; its controls follow
        dialog->Attach(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

INT_PTR CALLBACK Dialog::DialogProc(HWND, UINT, WPARAM, LPARAM) noexcept {
    return FALSE;  // everything is handled in the subclassed window procedure
}

LRESULT CALLBACK Dialog::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    auto* self = static_cast<Dialog*>(GetPropW(hwnd, kThisProperty));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    const CurrentMessage saved = self->m_current;
    self->m_current = {message, wParam, lParam};
    LRESULT result = 0;
    try {
        result = self->WindowProc(message, wParam, lParam);
    } catch (...) {
        // Nothing may cross back into the system's code; the message counts as handled.
        OutputDebugStringW(L"Tallyglass: exception in a window procedure\n");
        result = 0;
    }
    self->m_current = saved;
    if (message == WM_NCDESTROY) {
        RemovePropW(hwnd, kThisProperty);
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->m_defaultProc));
        self->m_hwnd = nullptr;
    }
    return result;
}

LRESULT Dialog::Default() {
    return CallWindowProcW(m_defaultProc, m_hwnd, m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT Dialog::WindowProc(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                OnOK();
                return 0;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                OnCancel();
                return 0;
            }
            break;
    }
    return Default();
}

bool Dialog::Create(HWND owner) {
    HMODULE module = GetModuleHandleW(nullptr);
    const auto* dialogTemplate = static_cast<const DLGTEMPLATE*>(
        LoadLocalizedResource(MAKEINTRESOURCEW(m_templateId), MAKEINTRESOURCEW(5) /* RT_DIALOG */));
    if (!dialogTemplate) return false;
    m_endModal = false;
    m_result = -1;
    m_owner = owner;
    {
        CreationScope scope(this, &Dialog::CreationHook);
        CreateDialogIndirectParamW(module, dialogTemplate, owner, &Dialog::DialogProc, 0);
    }
    return m_hwnd != nullptr;
}

void Dialog::Destroy() {
    if (m_hwnd) DestroyWindow(m_hwnd);
}

void Dialog::EndDialog(INT_PTR result) {
    m_result = result;
    m_endModal = true;
    if (m_hwnd) PostMessageW(m_hwnd, WM_NULL, 0, 0);  // wake the loop
}

BOOL Dialog::PreTranslateMessage(MSG* msg) {
    if (!m_hwnd || (msg->hwnd != m_hwnd && !IsChild(m_hwnd, msg->hwnd))) return FALSE;
    return IsDialogMessageW(m_hwnd, msg);
}

INT_PTR Dialog::DoModal(HWND owner) {
    if (!Create(owner)) return -1;
    const bool disableOwner = owner && IsWindowEnabled(owner);
    if (disableOwner) EnableWindow(owner, FALSE);
    if (!(GetWindowLongW(m_hwnd, GWL_STYLE) & WS_VISIBLE)) ShowWindow(m_hwnd, SW_SHOW);

    ++t_modalDepth;
    MSG msg;
    while (!m_endModal && m_hwnd) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // The quit message ends this run; an outer run must see it too.
            if (t_modalDepth > 1) PostQuitMessage(static_cast<int>(msg.wParam));
            if (!m_endModal) m_result = IDCANCEL;
            m_endModal = true;
            break;
        }
        if (!PreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    --t_modalDepth;
    // Enable the owner before the dialog goes, so that activation returns to it.
    if (disableOwner) EnableWindow(owner, TRUE);
    Destroy();
    return m_result;
}

void Dialog::CenterWindow(HWND over) {
    if (!m_hwnd) return;
    RECT window;
    GetWindowRect(m_hwnd, &window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(over ? over : m_hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT area = monitor.rcWork;
    if (over && IsWindowVisible(over) && !IsIconic(over)) GetWindowRect(over, &area);
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    LONG left = area.left + (area.right - area.left - width) / 2;
    LONG top = area.top + (area.bottom - area.top - height) / 2;
    // Keep the window on the work area, top-left first when it does not fit.
    const RECT& work = monitor.rcWork;
    if (left + width > work.right) left = work.right - width;
    if (top + height > work.bottom) top = work.bottom - height;
    if (left < work.left) left = work.left;
    if (top < work.top) top = work.top;
    SetWindowPos(m_hwnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tallyglass
