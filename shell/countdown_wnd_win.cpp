#include "shell/countdown_wnd_win.h"

#include "clock/settings_binding.h"
#include "command/command_line.h"
#include "command/key_commands.h"
#include "framework/text_win.h"
#include "framework/window_style_win.h"
#include "res/resource.h"
#include "settings/settings_dlg_win.h"
#include "shell/about_text_win.h"
#include "shell/clock_menu_win.h"
#include "shell/hand_over_win.h"
#include "shell/save_report_win.h"
#include "shell/settings_window_win.h"
#include "shell/show_file_win.h"

namespace tallyglass {

namespace {
std::vector<ClockCommand> FromCommandLine(std::vector<ClockCommand> commands) {
    for (ClockCommand& command : commands) command.wayIn = WayIn::CommandLine;
    return commands;
}
}  // namespace

namespace {
constexpr LONG kMinTrackWidth = 300;
}  // namespace

CountdownWnd::CountdownWnd(CountdownWndOptions options) : Dialog(IDD_COUNTDOWN), m_options(std::move(options)) {
    m_icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

LRESULT CountdownWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ClockPingMessage()) return kPingAnswer;  // a second start looks for this clock
    switch (message) {
        case WM_CREATE:
            return Default() == -1 || !m_parts.Create() ? -1 : 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<LRESULT>(m_icon);
        case WM_GETMINMAXINFO:
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.x = kMinTrackWidth;
            break;
        case WM_LBUTTONDOWN:
            SendMessageW(m_hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
            break;
        case WM_RBUTTONUP:
            ShowClockMenu(m_hwnd, m_parts.remote.get());
            break;
        case WM_COMMAND:
            if (OnCommand(LOWORD(wParam))) return 0;
            break;
        case WM_COPYDATA:
            if (const auto commands = HandedOverCommands(reinterpret_cast<const COPYDATASTRUCT*>(lParam))) {
                if (m_parts.store) StoreShowOf(m_parts.store->Core(), *commands);
                ApplyAll(FromCommandLine(*commands));
                return TRUE;
            }
            return FALSE;
    }
    if (OnClockMessage(message, wParam, lParam)) return 0;
    return Dialog::WindowProc(message, wParam, lParam);
}

// What the clock adds to a dialog's messages: its ticks, its checks and the
// system's news (session end, another monitor's DPI).
bool CountdownWnd::OnClockMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kFinishStartMessage:
            OnFinishStart();
            return true;
        case kRemoteOrderMessage:
            OnRemoteOrders();
            return true;
        case kSlideShowMessage:
            OnSlideShow();
            return true;
        case kTickMessage:
            OnTickMessage(static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam));
            return true;
        case WM_POWERBROADCAST:
            // Back from sleep: the time slept shows at once, not at the timer's next tick.
            if (wParam == PBT_APMRESUMEAUTOMATIC) ApplyEffects(OnWake(m_model, ClockTimers::NowMs()));
            return false;
        case WM_HOTKEY:
            // The clock acts where it stands and never takes the focus from the slides.
            if (auto command = m_parts.desktop.HotKeys().CommandFor(wParam)) {
                command->wayIn = WayIn::HotKey;
                Apply(*command);
            }
            return true;
        case WM_TIMER:
            if (wParam == kMinuteTimerId) return OnMinuteTimer(), true;
            if (wParam == kBlinkTimerId) return OnBlinkTimer(), true;
            if (wParam == kScheduleTimerId) return OnScheduleTimer(), true;
            if (wParam == kSlideAwayTimerId) return OnSlideAwayTimer(), true;
            return m_parts.desktop.OnTimer(wParam);
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return true;
        case WM_ENDSESSION:
            // Windows ends the process after this message without destroying the window.
            if (wParam) m_parts.StoreSettings(m_hwnd, m_model);
            return true;
        case WM_CLOSE:
            // Only another program sends this (there is no caption or system menu):
            // end like Exit, so that the settings are stored.
            PostQuitMessage(0);
            return true;
    }
    return false;
}

bool CountdownWnd::OnCommand(UINT id) {
    switch (id) {
        case ID_EXIT:
            PostQuitMessage(0);
            return true;
        case ID_ABOUT:
            m_parts.ShowAbout(m_hwnd, m_model);
            return true;
        case ID_NEW_COUNTDOWN:
            OnNewCountdown();
            return true;
        case ID_SAVE_REPORT:
            if (m_parts.runLog && m_parts.store)
                SaveReport(m_hwnd, m_parts.runLog->Path(), m_model.m_show,
                           m_parts.store->Core().Language() == UiLanguage::Chinese);
            return true;
        case ID_SETTINGS:
            OpenSettingsWindow(m_hwnd, m_parts, m_model, [this](const ClockCommand& command) { Apply(command); });
            return true;
    }
    return OnRemoteMenuItem(m_hwnd, id, m_parts.remote.get());
}

BOOL CountdownWnd::OnInitDialog() {
    Dialog::OnInitDialog();  // topmost, off the taskbar and layered from its template
    m_parts.Open(m_hwnd, m_model);
    Dialog::CenterWindow(nullptr);
    m_parts.view->MoveToMonitor(m_hwnd, m_model);
    m_parts.NoteStep("first layout");
    m_parts.view->Present(m_hwnd, m_model);
    m_parts.NoteStep("first frame");
    if (m_parts.store) StoreShowOf(m_parts.store->Core(), m_options.startCommands);
    ApplyAll(FromCommandLine(m_options.startCommands));
    // The template shows the window as this returns; the rest waits for that.
    PostMessageW(m_hwnd, kFinishStartMessage, 0, 0);
    return TRUE;
}

// What the first frame need not wait for: none of it changes the picture.
void CountdownWnd::OnFinishStart() {
    SetWindowIcons(m_hwnd, m_icon);
    m_parts.FinishStart(m_hwnd, m_model);
    m_parts.Publish(m_model);
}

void CountdownWnd::OnRemoteOrders() {
    if (!m_parts.remote) return;
    std::vector<PendingOrder> batch = m_parts.remote->TakeOrders();
    std::vector<ClockCommand> commands;
    for (const PendingOrder& pending : batch) commands.push_back(pending.order);
    const std::vector<bool> changed = ApplyAll(commands);
    // Published before it is answered: a reader after the answer sees it too.
    const SnapshotPtr state = m_parts.Snapshot(m_model);
    for (size_t i = 0; i < batch.size(); ++i)
        if (batch[i].answerId) m_parts.remote->Answer(batch[i].answerId, state, changed[i]);
}

void CountdownWnd::OnDestroy() {
    m_parts.StopInput();
    Default();
    m_parts.StopTimers(m_model);
    m_parts.StoreSettings(m_hwnd, m_model);
    m_parts.store.reset();
}

void CountdownWnd::OnPaint() {
    // The picture comes only from presented frames; minimised, the window shows its icon.
    if (IsIconic(m_hwnd)) return PaintMinimisedIcon(m_hwnd, m_icon);
    Default();
}

BOOL CountdownWnd::PreTranslateMessage(MSG* msg) {
    if (msg->hwnd == m_hwnd && m_hwnd) {
        if (msg->message == WM_SYSKEYDOWN) return TRUE;  // Alt, F10 and Alt+F4 never reach the dialog manager
        if (msg->message == WM_KEYDOWN) {
            if (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) return TRUE;
            if (auto command = tallyglass::CommandForKey(static_cast<uint32_t>(msg->wParam))) {
                command->wayIn = WayIn::Key;
                Apply(*command);
            }
        }
    }
    return Dialog::PreTranslateMessage(msg);
}

void CountdownWnd::OnNewCountdown() {
    SettingsDlg dialog;
    dialog.m_values = ValuesOf(m_model);
    if (dialog.DoModal(m_hwnd) != IDOK) return;
    tallyglass::ClockCommand command{tallyglass::CommandKind::NewCountdown, 0, {}, dialog.m_values};
    command.wayIn = WayIn::ContextMenu;
    Apply(command);
}

std::wstring CountdownWnd::ControlsText() const {
    return Widen(tallyglass::ControlsText(m_parts.desktop.HotKeys().Statuses()));
}

void CountdownWnd::OnDpiChanged(UINT dpi, const RECT* suggested) {
    // Dragged onto a monitor of another scale: glyphs rendered at its own
    // resolution, at the place the system suggests.
    if (dpi) m_parts.view->SetDpi(dpi);
    if (suggested)
        m_parts.view->LayOutAt(m_hwnd, m_model, suggested->left, suggested->top);
    else
        m_parts.view->Show(m_hwnd, m_model, EngineEffects::Picture::LayoutInPlace);
    m_parts.Publish(m_model);
}

}  // namespace tallyglass
