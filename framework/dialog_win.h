#pragma once
// A dialog built from a resource template, with a modal loop that offers each
// queued message to PreTranslateMessage before the dialog manager sees it.
// Derived classes bind messages to named handlers in WindowProc, a plain switch.
#include <windows.h>

namespace tallyglass {

class Dialog {
public:
    explicit Dialog(UINT templateId);
    // Destroys a window still open. By then a derived class is gone, so its
    // WM_DESTROY handler does not run: a class whose handler must run (to store
    // settings, say) destroys the window in its own destructor.
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the dialog, runs it until EndDialog or a quit message, destroys it.
    // Returns the EndDialog result, or -1 when the dialog cannot be created.
    INT_PTR DoModal(HWND owner = nullptr);
    // Creates the dialog without running a loop (tests drive it with messages).
    bool Create(HWND owner = nullptr);
    void Destroy();
    void EndDialog(INT_PTR result);
    bool IsModalEnded() const { return m_endModal; }
    INT_PTR ModalResult() const { return m_result; }

    HWND GetSafeHwnd() const { return m_hwnd; }
    // TRUE when the message was consumed. The default lets the dialog manager
    // handle keyboard navigation for this dialog and its controls.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Centres the window on the work area of its monitor, or over its owner.
    void CenterWindow(HWND over = nullptr);

protected:
    // The message map. Unhandled messages go to Default().
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Default processing of the message being handled.
    LRESULT Default();

    HWND m_hwnd = nullptr;

private:
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM) noexcept;
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM) noexcept;
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) noexcept;
    void Attach(HWND hwnd);

    UINT m_templateId;
    WNDPROC m_defaultProc = nullptr;
    CurrentMessage m_current{};
    bool m_endModal = false;
    INT_PTR m_result = -1;
    HWND m_owner = nullptr;
};

}  // namespace tallyglass
