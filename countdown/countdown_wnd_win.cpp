#include "countdown/countdown_wnd_win.h"

#include <shellapi.h>

#include "core/setting_keys.h"
#include "countdown/clock_snapshot.h"
#include "countdown/hand_over_win.h"
#include "countdown/product.h"
#include "countdown/settings_binding.h"
#include "framework/clipboard_win.h"
#include "framework/context_menu_win.h"
#include "framework/resource_language_win.h"
#include "framework/text_win.h"
#include "framework/window_style_win.h"
#include "render/screen_win.h"
#include "res/resource.h"
#include "settings/settings_dlg_win.h"
#include "sound/mci_win.h"

namespace {
constexpr LONG kMinTrackWidth = 300;

void DefaultFatalError() {
    MessageBoxW(nullptr, L"User32.dll ERROR!", Widen(kWindowTitle).c_str(), MB_OK | MB_ICONERROR);
    std::exit(EXIT_FAILURE);
}
}  // namespace

CountdownWnd::CountdownWnd(CountdownWndOptions options)
    : Dialog(IDD_COUNTDOWN), m_options(std::move(options)), m_timers(m_options.manualTicks) {
    m_icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

LRESULT CountdownWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ClockPingMessage()) return kPingAnswer;  // a second start looks for this clock
    switch (message) {
        case WM_CREATE:
            return OnCreate();
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<LRESULT>(m_icon);
        case WM_GETMINMAXINFO:
            OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        case WM_LBUTTONDOWN:
            OnLButtonDown();
            return 0;
        case WM_RBUTTONUP:
            OnRButtonUp();
            return 0;
        case WM_COMMAND:
            if (OnCommand(LOWORD(wParam))) return 0;
            break;
        case WM_COPYDATA:
            return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam)) ? TRUE : FALSE;
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
        case kTickMessage:
            OnTickMessage(static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam));
            return true;
        case WM_POWERBROADCAST:
            // Back from sleep: the time slept shows at once, not at the timer's next tick.
            if (wParam == PBT_APMRESUMEAUTOMATIC) OnWake(m_model, *this, ClockTimers::NowMs());
            return false;
        case WM_HOTKEY:
            OnHotKey(wParam);
            return true;
        case WM_TIMER:
            if (wParam == kMinuteTimerId) return OnMinuteTimer(), true;
            if (wParam != TopmostKeeper::kCheckTimerId || !m_topmost) return false;
            m_topmost->OnCheckTimer();
            return true;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return true;
        case WM_ENDSESSION:
            // Windows ends the process after this message without destroying the window.
            if (wParam) StoreSettings();
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
            OnAbout();
            return true;
        case ID_COPY_REMOTE_LINK:
            if (m_remote) CopyTextToClipboard(m_hwnd, m_remote->ControlLink());
            return true;
        case ID_OPEN_VIEWER:
            if (m_remote && m_remote->Listening())
                ShellExecuteW(m_hwnd, L"open", m_remote->ViewLink().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
            return true;
        case ID_NEW_COUNTDOWN:
            OnNewCountdown();
            return true;
    }
    return false;
}

int CountdownWnd::OnCreate() {
    if (Default() == -1) return -1;
    m_view.emplace(m_options.user32Name);
    if (!m_view->Ready()) {
        if (!m_options.fatalError) DefaultFatalError();
        m_options.fatalError();
        return -1;
    }
    m_view->Presenter().SetObserver(m_options.frameObserver);
    NoteStartStep("window created");
    return 0;
}

BOOL CountdownWnd::OnInitDialog() {
    Dialog::OnInitDialog();
    m_core = std::make_unique<CCore>(m_options.storePath, m_options.appPath);
    m_soft.reset(static_cast<tagSoft*>(std::malloc(sizeof(tagSoft))));
    if (m_soft) FillProductRecord(*m_soft, ThisProduct(ProductVersion()));
    MakeTopmostToolWindow(m_hwnd, m_icon);
    m_core->FindStore();
    NoteStartStep("settings file found");
    m_core->LoadStore();
    NoteStartStep("settings file read");
    // Before any menu or dialog of this run is loaded.
    SetResourceLanguage(ResourceLanguageId(m_core->Language()));
    NoteStartStep("resources' language");
    m_appPath = m_core->getAppPath();
    // Without the program's folder there is no sound to look for (never a drive's root).
    if (!m_appPath.empty()) m_alertWavPath = m_appPath + Widen(kAlertWavName);
    ReadSettings(m_model, *m_core);
    m_model.m_show = m_core->Show().segments;
    if (!m_model.m_show.empty()) m_model.m_countdownSeconds = m_model.m_show.front().seconds;
    if (m_model.m_idleClock) {
        m_model.m_clock12Hour = ClockTimers::Uses12HourClock();
        m_model.m_localMinute = ClockTimers::LocalSecondOfDay() / 60;
    }
    m_model.m_remaining = m_model.m_countdownSeconds;
    m_model.m_running = 0;
    m_model.m_inAlert = 0;
    ApplyWindowSettings();

    SetWindowTextW(m_hwnd, Widen(kWindowTitle).c_str());
    m_view->PlaceAt(m_hwnd, m_model, m_model.m_posLeft, m_model.m_posTop);
    CenterWindow();
    NoteStartStep("first layout");
    PresentFrame();
    NoteStartStep("first frame");
    if (!m_options.startOrders.Empty()) ApplyOrders(m_options.startOrders);
    // The template shows the window as this returns; the rest waits for that.
    PostMessageW(m_hwnd, kFinishStartMessage, 0, 0);
    return TRUE;
}

// What the first frame need not wait for: none of it changes the picture.
void CountdownWnd::OnFinishStart() {
    NoteStartStep("window visible");
    m_timers.RequestPeriod();
    SendMciCommand(Widen(kCloseAllCommand));
    m_hotKeys.Register(m_hwnd, m_model);
    NoteStartStep("hot keys");
    m_topmost.emplace(m_hwnd);
    NoteStartStep("foreground hook");
    m_core->CreateMissingStore();
    NoteStartStep("settings file written if new");
    if (m_model.m_idleClock) ArmMinuteTimer();
    StartRemote();
}

// After the first frame: with remote control off nothing of it is read or opened.
void CountdownWnd::StartRemote() {
    namespace k = setting_keys;
    RemoteSettings settings{m_core->getConfigStr(k::kRemote),        m_core->getConfigStr(k::kRemoteBind),
                            m_core->getConfigInt(k::kRemotePort),    m_core->getConfigStr(k::kRemoteKey),
                            m_core->getConfigStr(k::kRemoteViewKey), m_core->getConfigB(k::kRemoteOsc),
                            m_core->getConfigStr(k::kRemoteFeedback)};
    const RemotePlan plan = PlanRemote(settings);
    if (plan.on && (settings.key.empty() || settings.viewKey.empty())) {
        // Made once and kept in the file, so that a phone's link stays good from one start to the next.
        if (settings.key.empty() && !(settings.key = MakeRemoteKey()).empty())
            m_core->saveConfigStr(k::kRemoteKey, settings.key);
        if (settings.viewKey.empty() && !(settings.viewKey = MakeRemoteKey()).empty())
            m_core->saveConfigStr(k::kRemoteViewKey, settings.viewKey);
        m_core->commitConfig();
    }
    if (!plan.on && plan.why.empty()) return;
    m_remote =
        std::make_unique<RemoteLink>(m_hwnd, plan, AccessKeys{settings.key, settings.viewKey}, settings.oscFromAnywhere,
                                     BesideFile(m_core->StorePath(), L"TallyglassCountdown-remote.log"));
    if (m_remote->Listening()) m_remote->Publish(Snapshot());
}

void CountdownWnd::ClearMessage() {
    RemoteOrder clear;
    clear.kind = RemoteOrder::Kind::ClearMessage;
    ApplyRemoteOrder(m_model, *this, clear, ClockTimers::NowMs(), ClockTimers::LocalSecondOfDay());
}

void CountdownWnd::OnRemoteOrders() {
    if (!m_remote) return;
    for (PendingOrder& pending : m_remote->TakeOrders()) {
        RecordPosition();  // a new length is laid out where the clock stands, as New countdown does
        ApplyRemoteOrder(m_model, *this, pending.order, ClockTimers::NowMs(), ClockTimers::LocalSecondOfDay());
        // Published before it is answered: a reader after the answer sees it too.
        const SnapshotPtr state = Snapshot();
        m_remote->Publish(state);
        if (pending.answerId) m_remote->Answer(pending.answerId, state);
    }
}

SnapshotPtr CountdownWnd::Snapshot() const {
    return std::make_shared<ClockSnapshot>(
        SnapshotOf(m_model, UnixNowMs(), MsToNextTick(m_model, ClockTimers::NowMs()), ProductVersion()));
}

void CountdownWnd::ApplyWindowSettings() {
    m_view->SetDpi(m_options.dpiOverride ? m_options.dpiOverride : DpiForWindow(m_hwnd));
    m_view->Presenter().SetConstantAlpha(ConstantAlphaFor(m_model.m_opacity));
    if (m_model.m_clickThrough) SetClickThrough(m_hwnd, true);
    if (m_model.m_hideFromCapture)
        m_capture = ExcludeFromCapture(m_hwnd, m_options.captureSystem ? *m_options.captureSystem : ThisSystem());
}

void CountdownWnd::OnDestroy() {
    m_remote.reset();  // the network thread stops before the window goes
    m_hotKeys.Release();
    Default();
    m_topmost.reset();
    m_timers.Release();
    m_model.m_timerId = kNoTimer;  // ticks still queued are stale from here on
    StoreSettings();
    m_core.reset();
    m_soft.reset();
}

void CountdownWnd::RecordPosition() {
    RECT rect;
    if (!GetWindowRect(m_hwnd, &rect)) return;
    m_model.m_posLeft = rect.left;
    m_model.m_posTop = rect.top;
}

void CountdownWnd::StoreSettings() {
    if (!m_core || m_settingsStored) return;
    if (PositionIsStored(m_model)) RecordPosition();
    WriteSettings(m_model, *m_core);
    // A save that failed (at session end, say) is tried again at destruction.
    m_settingsStored = m_core->commitConfig();
}

void CountdownWnd::OnPaint() {
    // The picture comes only from presented frames; minimised, the window shows its icon.
    if (IsIconic(m_hwnd)) return PaintMinimisedIcon(m_hwnd, m_icon);
    Default();
}

void CountdownWnd::OnGetMinMaxInfo(MINMAXINFO* info) {
    info->ptMinTrackSize.x = kMinTrackWidth;
    Default();
}

BOOL CountdownWnd::PreTranslateMessage(MSG* msg) {
    if (msg->hwnd == m_hwnd && m_hwnd) {
        if (msg->message == WM_SYSKEYDOWN) return TRUE;  // Alt, F10 and Alt+F4 never reach the dialog manager
        if (msg->message == WM_KEYDOWN) {
            if (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) return TRUE;
            if (msg->wParam == VK_F2) StartCountdown();
            if (msg->wParam == VK_F4) ResetCountdown();
            if (msg->wParam == VK_F3) Perform(ClockAction::PauseResume);
            if (msg->wParam == VK_UP) Perform(ClockAction::AddMinute);
            if (msg->wParam == VK_DOWN) Perform(ClockAction::TakeMinute);
            if (msg->wParam == VK_RIGHT) Perform(ClockAction::NextSegment);
            if (msg->wParam == VK_LEFT) Perform(ClockAction::PreviousSegment);
            if (msg->wParam == VK_DELETE && !m_model.m_message.empty()) ClearMessage();
        }
    }
    return Dialog::PreTranslateMessage(msg);
}

void CountdownWnd::OnLButtonDown() {
    SendMessageW(m_hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    Default();
}

void CountdownWnd::OnRButtonUp() {
    // Remote control's items only while it listens: off, the menu is as it always was.
    if (m_remote && m_remote->Listening())
        ShowContextMenu(m_hwnd, IDR_CONTEXT_MENU, 0);
    else
        ShowContextMenu(m_hwnd, IDR_CONTEXT_MENU, 0, {ID_COPY_REMOTE_LINK, ID_OPEN_VIEWER});
    Default();
}

void CountdownWnd::OnNewCountdown() {
    RecordPosition();
    SettingsDlg dialog;
    dialog.m_values = ValuesOf(m_model);
    if (dialog.DoModal(m_hwnd) != IDOK) return;
    ApplyNewCountdown(m_model, *this, dialog.m_values);
}

void CountdownWnd::OnAbout() {
    if (!m_core) return;
    std::wstring text = ControlsText();
    const std::wstring note = CaptureExclusionNote(m_capture);
    if (!note.empty()) text += L"\n\n" + note;
    if (const std::string show = DescribeRunOfShow(m_core->Show()); !show.empty()) text += L"\n\n" + Widen(show);
    if (m_remote) text += L"\n\n" + m_remote->Status();
    m_core->uu(kAboutOperation, m_soft.get(), text, m_hwnd);
}

std::wstring CountdownWnd::ControlsText() const { return Widen(::ControlsText(m_hotKeys.Statuses())); }

void CountdownWnd::Perform(ClockAction action) { ::Perform(m_model, *this, action, ClockTimers::NowMs()); }

void CountdownWnd::ApplyOrders(const ClockOrders& orders) {
    RecordPosition();  // a new length is laid out where the clock stands, as New countdown does
    ::ApplyOrders(m_model, *this, orders, ClockTimers::NowMs(), ClockTimers::LocalSecondOfDay());
}

void CountdownWnd::OnHotKey(WPARAM id) {
    // The clock acts where it stands and never takes the focus from the slides.
    const auto action = m_hotKeys.ActionFor(id);
    if (!action) return;
    Perform(*action);
    if (*action == ClockAction::ToggleClickThrough) SetClickThrough(m_hwnd, m_model.m_clickThrough != 0);
}

bool CountdownWnd::OnCopyData(const COPYDATASTRUCT* data) {
    const auto words = data ? HandedOverWords(*data) : std::nullopt;
    if (!words) return false;
    const ParsedCommandLine parsed = ParseCommandLine(WordsToHandOver(*words));
    if (!parsed.ok) return false;
    ApplyOrders(parsed.line.orders);
    return true;
}

void CountdownWnd::OnDpiChanged(UINT dpi, const RECT* suggested) {
    // Dragged onto a monitor of another scale: glyphs rendered at its own
    // resolution, at the place the system suggests.
    if (dpi) m_view->SetDpi(dpi);
    if (suggested)
        m_view->LayOutAt(m_hwnd, m_model, suggested->left, suggested->top);
    else
        RelayoutInPlace();
}

void CountdownWnd::OnTickMessage(uint32_t timerId, uint32_t firedAtMs) {
    if (IsLiveTick(m_model, timerId)) OnTimerTick(m_model, *this, firedAtMs);
}

// At each minute's turn, so that the idle clock turns with the system's clock.
void CountdownWnd::ArmMinuteTimer() {
    const int32_t msIntoMinute = ClockTimers::LocalSecondOfDay() % 60 * 1000;
    SetTimer(m_hwnd, kMinuteTimerId, static_cast<UINT>(60000 - msIntoMinute + 50), nullptr);
}

void CountdownWnd::OnMinuteTimer() {
    m_model.m_localMinute = ClockTimers::LocalSecondOfDay() / 60;
    ArmMinuteTimer();
    if (!m_model.m_running) RelayoutInPlace();
}

uint32_t CountdownWnd::StartPeriodicTimer() { return m_timers.StartPeriodic(m_hwnd); }
uint32_t CountdownWnd::StartOneShotTimer(uint32_t delayMs) { return m_timers.StartOneShot(m_hwnd, delayMs); }
void CountdownWnd::StopTimer(uint32_t timerId) { m_timers.Stop(timerId); }

void CountdownWnd::PlayAlertSound() {
    if (!m_core) return;
    MciSoundDevice device(*m_core, m_options.soundObserver);
    ::PlayAlertSound(m_model.m_alertSound != 0, Narrow(m_alertWavPath), device);
}

void CountdownWnd::PlayCueSound() {
    if (!m_core || m_appPath.empty()) return;
    MciSoundDevice device(*m_core, m_options.soundObserver);
    const std::string cue = Narrow(m_appPath + Widen(kCueWavName));
    // Without cue.wav beside the exe, the chime: a cue that was asked for is heard.
    ::PlayAlertSound(true, device.FileExists(cue) ? cue : Narrow(m_alertWavPath), device);
}

void CountdownWnd::Relayout() {
    m_view->LayOutAt(m_hwnd, m_model, m_model.m_posLeft, m_model.m_posTop);
    PublishState();
}

void CountdownWnd::RelayoutInPlace() {
    RECT rect{};
    GetWindowRect(m_hwnd, &rect);
    m_view->LayOutAt(m_hwnd, m_model, rect.left, rect.top);
    PublishState();
}

void CountdownWnd::Show(const CountdownModel& model, bool relayout) {
    m_model = model;
    if (relayout) return Relayout();
    PresentFrame();
}

void CountdownWnd::PresentFrame() {
    if (m_view) m_view->Present(m_hwnd, m_model);
    PublishState();
}

// Every frame and every layout follows a change of the state.
void CountdownWnd::PublishState() {
    if (m_remote && m_remote->Listening()) m_remote->Publish(Snapshot());
}
