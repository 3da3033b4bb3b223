#include "countdown/countdown_wnd_win.h"

#include <mmsystem.h>

#include "countdown/timer_resolution.h"
#include "framework/text_win.h"
#include "res/resource.h"
#include "settings/field_values.h"
#include "settings/settings_dlg_win.h"
#include "sound/mci_win.h"

namespace {
constexpr wchar_t kWindowTitle[] = L"TallyglassPPT\u5012\u8BA1\u65F6";
constexpr BYTE kFrameConstantAlpha = 253;
constexpr LONG kMinTrackWidth = 300;

void DefaultFatalError() {
    MessageBoxW(nullptr, L"User32.dll ERROR!", kWindowTitle, MB_OK | MB_ICONERROR);
    std::exit(EXIT_FAILURE);
}

ProductTexts ThisProduct() {
    return {TALLYGLASS_VERSION, "Tallyglass", "Countdown", "TallyglassPPT\xE5\x80\x92\xE8\xAE\xA1\xE6\x97\xB6"};
}

// m_memDC names the frame in progress and nothing else.
class FrameDcScope {
public:
    FrameDcScope(HDC& slot, HDC dc) : m_slot(slot) { m_slot = dc; }
    FrameDcScope(const FrameDcScope&) = delete;
    FrameDcScope& operator=(const FrameDcScope&) = delete;
    ~FrameDcScope() { m_slot = nullptr; }

private:
    HDC& m_slot;
};
}  // namespace

CountdownWnd::CountdownWnd(HWND, CountdownWndOptions options)
    : Dialog(IDD_COUNTDOWN), m_options(std::move(options)) {
    m_colorNormal = 0xFF000000;
    m_colorAlert = 0xFF000000;
    m_icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

CountdownWnd::~CountdownWnd() { Destroy(); }

LRESULT CountdownWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<LRESULT>(OnQueryDragIcon());
        case WM_CREATE:
            return OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam));
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case ID_EXIT:
                    OnExit();
                    return 0;
                case ID_ABOUT:
                    OnAbout();
                    return 0;
                case ID_NEW_COUNTDOWN:
                    OnNewCountdown();
                    return 0;
            }
            break;
        case WM_RBUTTONUP:
            OnRButtonUp();
            return 0;
        case WM_GETMINMAXINFO:
            OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        case WM_LBUTTONDOWN:
            OnLButtonDown();
            return 0;
        case WM_CLOSE:
            // Only another program sends this (there is no caption or system menu):
            // end like Exit, so that the settings are stored.
            OnExit();
            return 0;
        case WM_ENDSESSION:
            OnEndSession(wParam != FALSE);
            return 0;
        case kTickMessage:
            OnTickMessage(static_cast<uint32_t>(wParam));
            return 0;
    }
    return Dialog::WindowProc(message, wParam, lParam);
}

int CountdownWnd::OnCreate(CREATESTRUCTW*) {
    if (Default() == -1) return -1;
    m_user32 = LoadLibraryW(m_options.user32Name);
    if (m_user32)
        // Through void* because FARPROC and the real signature are distinct function types.
        m_pfnUpdateLayeredWindow = reinterpret_cast<decltype(m_pfnUpdateLayeredWindow)>(
            reinterpret_cast<void*>(GetProcAddress(m_user32, "UpdateLayeredWindow")));
    if (!m_pfnUpdateLayeredWindow) {
        if (m_options.fatalError) {
            m_options.fatalError();
            return -1;
        }
        DefaultFatalError();
    }
    m_blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return 0;
}

BOOL CountdownWnd::OnInitDialog() {
    Dialog::OnInitDialog();
    m_core = std::make_unique<CCore>(m_options.storePath, m_options.appPath);
    m_soft.reset(static_cast<tagSoft*>(std::malloc(sizeof(tagSoft))));
    if (m_soft) FillProductRecord(*m_soft, ThisProduct());
    SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
    const LONG_PTR exStyle = GetWindowLongPtrW(m_hwnd, GWL_EXSTYLE);
    SetWindowLongPtrW(m_hwnd, GWL_EXSTYLE, (exStyle & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
    // The template's system-modal style makes Windows create the window topmost;
    // other hosts (Wine) ignore it, and a clock hidden behind the slides is useless.
    if (!(GetWindowLongPtrW(m_hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST))
        SetWindowPos(m_hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    m_core->autoFileConfig();
    m_appPath = m_core->getAppPath();
    m_alertWavPath = m_appPath + Widen(kAlertWavName);
    ReadSettings();
    m_remaining = m_countdownSeconds;
    m_running = 0;
    m_inAlert = 0;

    SetWindowTextW(m_hwnd, kWindowTitle);
    Relayout();
    CenterWindow();
    ChooseTimerResolution();
    SendMciCommand(Widen(kCloseAllCommand));
    return TRUE;
}

void CountdownWnd::ReadSettings() {
    CCore& core = *m_core;
    m_noBackground = core.getConfigB("nobg");
    m_alertSound = core.getConfigB("wavalert");
    m_alertCenter = core.getConfigB("alertcenter");
    m_fontName = core.getConfigStr("fontname");
    // A stored length that is not positive would never end, and a tiny font cannot
    // be read: correct them as the dialog would.
    m_sizeNormal = CorrectFontSize(core.getConfigInt("fsizenormal"));
    m_sizeAlert = CorrectFontSize(core.getConfigInt("fsizealert"));
    m_sizeTitle = CorrectFontSize(core.getConfigInt("fsizetitle"));
    m_colorNormal = core.getColor(core.getConfigStr("clrnormal"), "clrnormal");
    m_colorAlert = core.getColor(core.getConfigStr("clralert"), "clralert");
    m_countdownSeconds = CorrectLength(core.getConfigInt("djsseconds"));
    m_alertSeconds = CorrectLength(core.getConfigInt("alertseconds"));
    m_alertText = core.getConfigStr("alertstr");
    m_titleText = core.getConfigStr("title");
    m_posLeft = core.getConfigInt("posleft");
    m_posTop = core.getConfigInt("postop");
}

void CountdownWnd::ChooseTimerResolution() {
    TIMECAPS caps{};
    const bool read = timeGetDevCaps(&caps, sizeof caps) == TIMERR_NOERROR;
    const auto resolution = ::ChooseTimerResolution(read, caps.wPeriodMin, caps.wPeriodMax);
    if (!resolution) return;
    m_timerResolution = *resolution;
    m_periodRequested = timeBeginPeriod(m_timerResolution) == TIMERR_NOERROR;
}

void CountdownWnd::OnDestroy() {
    Default();
    if (m_timerId != kNoTimer) StopPeriodicTimer(m_timerId);
    m_timerId = kNoTimer;  // ticks still queued are stale from here on
    if (m_periodRequested) timeEndPeriod(m_timerResolution);
    m_periodRequested = false;
    StoreSettings();
    m_core.reset();
    m_soft.reset();
}

void CountdownWnd::StoreSettings() {
    if (!m_core || m_settingsStored) return;
    m_settingsStored = true;
    if (m_remaining > m_alertSeconds) {
        RECT rect;
        if (GetWindowRect(m_hwnd, &rect)) {
            m_posLeft = rect.left;
            m_posTop = rect.top;
        }
        m_core->saveConfigInt("posleft", m_posLeft);
        m_core->saveConfigInt("postop", m_posTop);
    }
    m_core->saveConfigB("nobg", m_noBackground != 0);
    m_core->saveConfigB("wavalert", m_alertSound != 0);
    m_core->saveConfigB("alertcenter", m_alertCenter != 0);
    m_core->saveConfigInt("fsizenormal", m_sizeNormal);
    m_core->saveConfigInt("fsizealert", m_sizeAlert);
    m_core->saveConfigInt("djsseconds", m_countdownSeconds);
    m_core->saveConfigInt("alertseconds", m_alertSeconds);
    m_core->commitConfig();
}

void CountdownWnd::OnEndSession(bool ending) {
    // Windows ends the process after this message without destroying the window.
    if (ending) StoreSettings();
}

void CountdownWnd::OnPaint() {
    if (!IsIconic(m_hwnd)) {
        Default();  // the picture comes only from presented frames
        return;
    }
    PaintDc dc(m_hwnd);
    SendMessageW(m_hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0);
    const int iconWidth = GetSystemMetrics(SM_CXICON);
    const int iconHeight = GetSystemMetrics(SM_CYICON);
    RECT client;
    GetClientRect(m_hwnd, &client);
    const int x = (client.right - client.left - iconWidth + 1) / 2;
    const int y = (client.bottom - client.top - iconHeight + 1) / 2;
    DrawIcon(dc.get(), x, y, m_icon);
}

void CountdownWnd::OnGetMinMaxInfo(MINMAXINFO* info) {
    info->ptMinTrackSize.x = kMinTrackWidth;
    Default();
}

BOOL CountdownWnd::PreTranslateMessage(MSG* msg) {
    if (msg->hwnd == m_hwnd && m_hwnd) {
        if (msg->message == WM_KEYDOWN) {
            switch (msg->wParam) {
                case VK_RETURN:
                case VK_ESCAPE:
                    return TRUE;
                case VK_F2:
                    StartCountdown();
                    break;
                case VK_F4:
                    ResetCountdown();
                    break;
            }
        } else if (msg->message == WM_SYSKEYDOWN) {
            return TRUE;  // Alt, F10 and Alt+F4 never reach the dialog manager
        }
    }
    return Dialog::PreTranslateMessage(msg);
}

void CountdownWnd::OnLButtonDown() {
    SendMessageW(m_hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    Default();
}

void CountdownWnd::OnRButtonUp() {
    ShowContextMenu(0);
    Default();
}

void CountdownWnd::ShowContextMenu(int popupPosition) {
    Menu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_CONTEXT_MENU)));
    if (!menu) return;
    HMENU popup = GetSubMenu(menu.get(), popupPosition);
    if (!popup) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    // Without this a click elsewhere does not close the menu.
    SetForegroundWindow(m_hwnd);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, m_hwnd, nullptr);
    PostMessageW(m_hwnd, WM_NULL, 0, 0);
}

void CountdownWnd::OnNewCountdown() {
    RECT rect;
    if (GetWindowRect(m_hwnd, &rect)) {
        m_posLeft = rect.left;
        m_posTop = rect.top;
    }
    SettingsDlg dialog(nullptr);
    dialog.m_sizeNormal = m_sizeNormal;
    dialog.m_sizeAlert = m_sizeAlert;
    dialog.m_countdownSeconds = m_countdownSeconds;
    dialog.m_alertSeconds = m_alertSeconds;
    dialog.m_noBackground = m_noBackground;
    dialog.m_alertCenter = m_alertCenter;
    dialog.m_alertSound = m_alertSound;
    if (dialog.DoModal(m_hwnd) != IDOK) return;
    ApplyNewCountdown(*this, *this,
                      {dialog.m_sizeNormal, dialog.m_sizeAlert, dialog.m_countdownSeconds, dialog.m_alertSeconds,
                       dialog.m_noBackground, dialog.m_alertCenter, dialog.m_alertSound});
}

void CountdownWnd::OnAbout() {
    if (m_core) m_core->uu(kAboutOperation, m_soft.get(), std::wstring(), m_hwnd);
}

void CountdownWnd::OnExit() { PostQuitMessage(0); }

void CountdownWnd::StartCountdown() { ::StartCountdown(*this, *this); }
void CountdownWnd::ResetCountdown() { ::ResetCountdown(*this, *this); }
void CountdownWnd::OnTimerTick() { ::OnTimerTick(*this, *this); }

void CountdownWnd::OnTickMessage(uint32_t timerId) {
    if (IsLiveTick(*this, timerId)) OnTimerTick();
}

void CALLBACK CountdownWnd::TimerProc(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    // The timer thread only posts: every tick is handled whole on the UI thread.
    PostMessageW(reinterpret_cast<HWND>(user), kTickMessage, id, 0);
}

uint32_t CountdownWnd::StartPeriodicTimer() {
    if (m_options.manualTicks) return ++m_manualTimerIds;
    return timeSetEvent(1000, m_timerResolution, &CountdownWnd::TimerProc, reinterpret_cast<DWORD_PTR>(m_hwnd),
                        TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
}

void CountdownWnd::StopPeriodicTimer(uint32_t timerId) {
    if (!m_options.manualTicks) timeKillEvent(timerId);
}

void CountdownWnd::CenterWindow() { Dialog::CenterWindow(nullptr); }

void CountdownWnd::PlayAlertSound() {
    if (!m_core) return;
    MciSoundDevice device(*m_core);
    ::PlayAlertSound(m_alertSound != 0, Narrow(m_alertWavPath), device);
}

std::string CountdownWnd::FormatTimeText(int32_t seconds) const {
    return ::FormatTimeText(seconds, m_inAlert != 0, m_alertText);
}

DisplayChoice CountdownWnd::SelectDisplay() const { return ::SelectDisplay(*this); }

PixelSize CountdownWnd::MeasureText(const std::string& text, const std::string& fontName, int32_t size) const {
    return MeasureGlyphs(Widen(text), Widen(fontName), size);
}

void CountdownWnd::Relayout() {
    const DisplayChoice choice = SelectDisplay();
    m_sizeCap = WindowCapFor({GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)});
    const int32_t fontSize = EffectiveFontSize(choice.size, m_sizeCap);
    m_margin = MarginForSize(fontSize);
    const PixelSize measured = MeasureText(choice.text, m_fontName, fontSize);
    const PixelSize size = WindowSizeFor(measured, m_margin, m_sizeCap);
    m_width = size.width;
    m_height = size.height;
    // No activation: the presenter's slide show keeps the keyboard.
    SetWindowPos(m_hwnd, nullptr, m_posLeft, m_posTop, m_width, m_height, SWP_NOZORDER | SWP_NOACTIVATE);
    PresentFrame();
}

void CountdownWnd::PaintBackground(Gdiplus::Graphics* graphics) {
    if (m_noBackground) return;
    PaintGradientBackground(*graphics, {m_width, m_height, m_margin});
}

void CountdownWnd::PaintText(Gdiplus::Graphics* graphics) {
    const DisplayChoice choice = SelectDisplay();
    PaintOutlinedText(*graphics, Widen(choice.text), Widen(m_fontName), EffectiveFontSize(choice.size, m_sizeCap),
                      choice.color, m_margin);
}

void CountdownWnd::PresentFrame() {
    if (!m_hwnd || !m_pfnUpdateLayeredWindow || m_memDC) return;  // no entry point, or a frame in progress
    WindowDc compatible(m_hwnd);
    FrameSurface surface(compatible.get(), m_width, m_height);
    FrameDcScope frameDc(m_memDC, surface.Dc());
    m_blend.SourceConstantAlpha = kFrameConstantAlpha;
    WindowDc destination(m_hwnd);
    RECT window{};
    GetWindowRect(m_hwnd, &window);
    if (!surface.Valid()) return;  // the window keeps showing the previous frame
    {
        Gdiplus::Graphics graphics(&surface.Image());
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
        PaintBackground(&graphics);
        PaintText(&graphics);
        graphics.Flush(Gdiplus::FlushIntentionSync);
    }
    GdiFlush();
    if (m_options.frameObserver) m_options.frameObserver(surface.Pixels());

    POINT destinationPoint{window.left, window.top};
    SIZE size{m_width, m_height};
    POINT sourcePoint{0, 0};
    const LONG exStyle = GetWindowLongW(m_hwnd, GWL_EXSTYLE);
    if (!(exStyle & WS_EX_LAYERED)) SetWindowLongW(m_hwnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    m_pfnUpdateLayeredWindow(m_hwnd, destination.get(), &destinationPoint, &size, surface.Dc(), &sourcePoint, 0,
                             &m_blend, ULW_ALPHA);
}
