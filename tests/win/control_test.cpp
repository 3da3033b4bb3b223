// The presenter's controls on the real window: hot keys as Windows delivers
// them (WM_HOTKEY), F3, Up and Down, and the hand-over from a second start.
#include <gtest/gtest.h>

#include "countdown/hand_over_win.h"
#include "framework/handles_win.h"
#include "framework/text_win.h"
#include "tests/win/win_test_support.h"

namespace {
std::string Ini(const std::string& extra) {
    return std::string("[settings]\nfontname=") + kTestFont + "\nwavalert=0\nnobg=1\ndjsseconds=600\n" + extra;
}

enum HotKeyId : WPARAM { kStart = 1, kReset, kPause, kPlus, kMinus, kClickThrough };

uint8_t BrightestAlpha(const Frame& frame) {
    uint8_t alpha = 0;
    for (uint32_t p : frame.pixels) alpha = std::max(alpha, Frame::Alpha(p));
    return alpha;
}

// A plain window of this process, standing for another program's.
OwnedWindow HelperWindow() {
    return OwnedWindow(CreateWindowExW(0, L"STATIC", L"helper", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr));
}

TEST(HotKeys, StartPauseAndAdjustWithoutTakingTheFocus) {
    TestClock clock(Ini(""));
    const HWND hwnd = clock->GetSafeHwnd();
    const OwnedWindow other = HelperWindow();
    SetForegroundWindow(other.get());
    PumpMessages(50);
    const HWND foreground = GetForegroundWindow();
    auto hotKey = [&](WPARAM id) { SendMessageW(hwnd, WM_HOTKEY, id, 0); };

    hotKey(kStart);
    EXPECT_EQ(clock->Model().m_running, 1);
    clock.Tick();
    hotKey(kPlus);
    EXPECT_EQ(clock->Model().m_remaining, 659);
    const LONG wide = clock.WindowRect().right - clock.WindowRect().left;
    hotKey(kMinus);
    hotKey(kMinus);
    EXPECT_EQ(clock->Model().m_remaining, 539);
    EXPECT_LT(clock.WindowRect().right - clock.WindowRect().left, wide);  // "8:59" laid out narrower in place
    const uint8_t counting = BrightestAlpha(clock.LastFrame());
    hotKey(kPause);
    EXPECT_EQ(clock->Model().m_paused, 1);
    EXPECT_EQ(clock->Model().m_timerId, kNoTimer);
    EXPECT_EQ(counting, 255);
    // Paused: the glyphs' fill at half opacity (128), the faint outline over its edge (158).
    EXPECT_LE(BrightestAlpha(clock.LastFrame()), 160);
    hotKey(kPause);
    EXPECT_EQ(clock->Model().m_paused, 0);
    EXPECT_EQ(BrightestAlpha(clock.LastFrame()), 255);
    hotKey(kReset);
    EXPECT_EQ(clock->Model().m_running, 0);
    EXPECT_EQ(GetForegroundWindow(), foreground);  // the other program keeps the keyboard
    EXPECT_NE(GetForegroundWindow(), hwnd);
    hotKey(99);  // not ours: nothing
    EXPECT_EQ(clock->Model().m_running, 0);
    for (bool through : {true, false}) {  // the way back to the menu when clicks pass through
        hotKey(kClickThrough);
        EXPECT_EQ((GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0, through);
    }
    EXPECT_EQ(GetForegroundWindow(), foreground);
}

TEST(HotKeys, OneHeldElsewhereOrWrittenBadlyIsOffAndAboutSaysWhy) {
    const OwnedWindow other = HelperWindow();
    ASSERT_TRUE(RegisterHotKey(other.get(), 7, MOD_CONTROL | MOD_ALT, VK_F3));
    std::wstring about;
    {
        TestClock clock(Ini("hotkeyreset=\nhotkeyplus=Ctrl+Alt+Foo\nhotkeyminus=F9\n"));
        const std::vector<HotKeyStatus>& statuses = clock->HotKeys().Statuses();
        const HotKeyState expected[] = {HotKeyState::InForce,       HotKeyState::Off,        HotKeyState::Taken,
                                        HotKeyState::NotUnderstood, HotKeyState::NoModifier, HotKeyState::InForce};
        ASSERT_EQ(statuses.size(), std::size(expected));
        for (size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(statuses[i].state, expected[i]) << i;
        about = clock->ControlsText();                             // what About shows below the version
        SendMessageW(clock->GetSafeHwnd(), WM_HOTKEY, kPause, 0);  // an id that is not in force does nothing
        EXPECT_EQ(clock->Model().m_paused, 0);
        clock->Perform(ClockAction::Start);
        EXPECT_EQ(clock->Model().m_running, 1);  // the clock runs on
    }
    EXPECT_NE(about.find(L"Hot keys: Ctrl+Alt+F2 start"), std::wstring::npos) << Narrow(about);
    EXPECT_NE(about.find(L"pause/resume (\"Ctrl+Alt+F3\": held by another program)"), std::wstring::npos);
    EXPECT_NE(about.find(L"Command line: TallyglassCountdown.exe [LENGTH"), std::wstring::npos);
    // The clock released its hot keys when it closed.
    EXPECT_TRUE(RegisterHotKey(other.get(), 8, MOD_CONTROL | MOD_ALT, VK_F2));
    UnregisterHotKey(other.get(), 7);
    UnregisterHotKey(other.get(), 8);
}

TEST(Keys, F3PausesUpAndDownAdjustAndF2Resumes) {
    TestClock clock(Ini("alertseconds=5\n"));
    clock.Key(WM_KEYDOWN, VK_UP);  // idle: the length
    EXPECT_EQ(clock->Model().m_countdownSeconds, 660);
    clock.Key(WM_KEYDOWN, VK_F2);
    clock.Key(WM_KEYDOWN, VK_F3);
    EXPECT_EQ(clock->Model().m_paused, 1);
    for (int i = 0; i < 20; ++i) clock.Key(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(clock->Model().m_remaining, 1);  // never less than a second
    clock.Key(WM_KEYDOWN, VK_F2);
    EXPECT_EQ(clock->Model().m_paused, 0);
    clock.Tick();
    EXPECT_EQ(clock->Model().m_inAlert, 1);  // the alert still came
    clock.Key(WM_KEYDOWN, VK_UP);            // in the alert: nothing
    EXPECT_EQ(clock->Model().m_remaining, 5);
    EXPECT_GE(*clock.narrowestRightGap, clock->Model().m_margin);  // no glyph cut off at any step
    clock->Destroy();
    EXPECT_NE(ReadFileBytes(clock.storePath).find("djsseconds = 660"), std::string::npos);  // as New countdown
}

TEST(Keys, AResumedCountGoesOnWithTheRealTimers) {
    TestClock clock(Ini(""), /*manualTicks=*/false);
    clock.Key(WM_KEYDOWN, VK_F2);
    clock.Key(WM_KEYDOWN, VK_F3);
    PumpMessages(1100);  // no tick while paused
    EXPECT_EQ(clock->Model().m_remaining, 600);
    clock.Key(WM_KEYDOWN, VK_F3);
    const DWORD start = GetTickCount();
    while (clock->Model().m_remaining > 598 && GetTickCount() - start < 5000) PumpMessages(20);
    EXPECT_EQ(clock->Model().m_remaining, 598);  // the one-shot, then the periodic timer
    EXPECT_EQ(clock->Model().m_oneShotTimer, 0);
    EXPECT_NE(clock->Model().m_timerId, kNoTimer);
}

TEST(HandOver, CopyDataReachesTheRunningClockOnlyWithTheMagic) {
    TestClock clock(Ini(""));
    const HWND found = FindRunningClock();
    ASSERT_EQ(found, clock->GetSafeHwnd());
    EXPECT_FALSE(HandOverWords(found, nullptr, {"--bogus"}));
    std::string payload = "--start";
    COPYDATASTRUCT foreign{0x1234, static_cast<DWORD>(payload.size()), payload.data()};
    EXPECT_EQ(SendMessageW(found, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&foreign)), FALSE);
    EXPECT_EQ(clock->Model().m_running, 0);
    EXPECT_TRUE(HandOverWords(found, nullptr, {"--settings", "other.ini", "--start", "--add", "-60"}));
    EXPECT_EQ(clock->Model().m_running, 1);
    EXPECT_EQ(clock->Model().m_remaining, 540);
    EXPECT_EQ(clock->Core()->StorePath(), clock.storePath);  // the file is not handed over
}

// The real exe, started a second time, hands its words over and ends at once.
DWORD RunSecondStart(const std::wstring& arguments) {
    PROCESS_INFORMATION info{};
    if (!StartBesideUs(L"TallyglassCountdown.exe", arguments, info)) return 0xDEAD;
    const KernelHandle process(info.hProcess), thread(info.hThread);
    // Our window must answer its messages while the other process waits for it.
    for (DWORD waited = 0; waited < 30000; waited += 20)
        if (MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, 20, QS_ALLINPUT) == WAIT_OBJECT_0)
            break;
        else
            PumpMessages();
    DWORD status = 0xBEEF;
    GetExitCodeProcess(info.hProcess, &status);
    return status;
}

TEST(HandOver, ASecondProcessMakesTheRunningClockCount) {
    TestClock clock(Ini(""));
    EXPECT_EQ(RunSecondStart(L"--start --add 60"), 0u);
    EXPECT_EQ(clock->Model().m_running, 1);
    EXPECT_EQ(clock->Model().m_remaining, 660);
    EXPECT_EQ(RunSecondStart(L"--pause"), 0u);
    EXPECT_EQ(clock->Model().m_paused, 1);
}
}  // namespace
