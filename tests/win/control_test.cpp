// The presenter's controls on the real window: hot keys as Windows delivers
// them (WM_HOTKEY), the key filter, and the hand-over from a second start. What
// each action does is the native engine table's.
#include <gtest/gtest.h>

#include "framework/handles_win.h"
#include "framework/text_win.h"
#include "res/resource.h"
#include "shell/hand_over_win.h"
#include "tests/win/win_test_support.h"

using namespace tallyglass;

namespace {
std::string Ini(const std::string& extra) { return TestIni("nobg=1\ndjsseconds=600\n" + extra); }

enum HotKeyId : WPARAM { kStart = 1, kReset, kPause, kPlus, kMinus, kClickThrough };

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

    hotKey(kStart);  // which command each hot key gives is the native table's
    clock.Tick();
    hotKey(kPause);
    EXPECT_EQ(clock->Model().m_paused, 1);
    hotKey(kReset);
    hotKey(99);  // not ours: nothing
    EXPECT_EQ(clock->Model().m_running, 0);
    for (bool through : {true, false}) {  // the way back to the menu when clicks pass through
        hotKey(kClickThrough);
        EXPECT_EQ((GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0, through);
    }
    EXPECT_EQ(GetForegroundWindow(), foreground);  // the other program keeps the keyboard
    EXPECT_NE(GetForegroundWindow(), hwnd);
}

TEST(HotKeys, OneHeldElsewhereOrWrittenBadlyIsOffAndAboutSaysWhy) {
    const OwnedWindow other = HelperWindow();
    ASSERT_TRUE(RegisterHotKey(other.get(), 7, MOD_CONTROL | MOD_ALT, VK_F3));
    std::wstring about;
    {
        TestClock clock(Ini("hotkeyreset=\nhotkeyplus=Ctrl+Alt+Foo\nhotkeyminus=F9\n"));
        const std::vector<HotKeyStatus>& statuses = clock->HotKeys().Statuses();
        // The show's two are not needed without a run of show: they leave the keys to other programs.
        const HotKeyState expected[] = {HotKeyState::InForce,       HotKeyState::Off,        HotKeyState::Taken,
                                        HotKeyState::NotUnderstood, HotKeyState::NoModifier, HotKeyState::InForce,
                                        HotKeyState::NotNeeded,     HotKeyState::NotNeeded};
        ASSERT_EQ(statuses.size(), std::size(expected));
        for (size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(statuses[i].state, expected[i]) << i;
        about = clock->ControlsText();  // what About shows below the version
        clock->StartCountdown();
        SendMessageW(clock->GetSafeHwnd(), WM_HOTKEY, kPause, 0);  // an id that is not in force does nothing
        EXPECT_EQ(clock->Model().m_paused, 0);
    }
    EXPECT_NE(about.find(L"pause/resume (\"Ctrl+Alt+F3\": held by another program)"), std::wstring::npos)
        << Narrow(about);
    // The clock released its hot keys when it closed.
    EXPECT_TRUE(RegisterHotKey(other.get(), 8, MOD_CONTROL | MOD_ALT, VK_F2));
    UnregisterHotKey(other.get(), 7);
    UnregisterHotKey(other.get(), 8);
}

// A run of show on the real window: Left and Right and the show's hot keys move
// through it, a cue plays cue.wav (the chime without one), and a sleep between
// two ticks shows the time slept at the next one.
TEST(RunOfShow, KeysHotKeysCuesAndASleepOnTheRealWindow) {
    TestClock clock(
        Ini("alertseconds=5\nalertcenter=0\ncues=4m\nshowadvance=1\nface=elapsed\n"
            "[show]\nWelcome = 5m\nKeynote = 30m\nQ&A = 10m\n"));
    const HWND hwnd = clock->GetSafeHwnd();
    const std::vector<HotKeyStatus>& statuses = clock->HotKeys().Statuses();
    ASSERT_EQ(statuses.size(), 8u);
    EXPECT_EQ(statuses[6].state, HotKeyState::InForce) << statuses[6].text;
    EXPECT_EQ(statuses[7].state, HotKeyState::InForce) << statuses[7].text;
    EXPECT_EQ(clock->Model().m_countdownSeconds, 300);
    clock.Key(WM_KEYDOWN, VK_RIGHT);
    clock.Key(WM_KEYDOWN, VK_RIGHT);
    EXPECT_EQ(clock->Model().m_segment, 2);
    clock.Key(WM_KEYDOWN, VK_LEFT);
    SendMessageW(hwnd, WM_HOTKEY, 8, 0);  // previous
    EXPECT_EQ(clock->Model().m_segment, 0);
    SendMessageW(hwnd, WM_HOTKEY, 7, 0);  // next
    EXPECT_EQ(clock->Model().m_countdownSeconds, 1800);
    clock.Key(WM_KEYDOWN, VK_LEFT);

    WriteFileBytes(clock.folder.File(L"alert.wav"), "RIFF");
    clock.Key(WM_KEYDOWN, VK_F2);
    EXPECT_EQ(clock->Model().m_countdownSeconds, 300);
    clock.Tick(57'000);  // a sleep: 58 s at once
    clock.Tick();
    EXPECT_EQ(clock->Model().m_elapsed, 59);
    EXPECT_TRUE(clock.soundCommands->empty());
    const LONG narrow = clock.LastFrame().width;
    const RECT before = clock.WindowRect();
    clock.Tick();  // 4:00 left, "1:00" shown: wider where it stands, and the cue (the chime without cue.wav)
    EXPECT_GT(clock.LastFrame().width, narrow);
    EXPECT_EQ(clock.WindowRect().left, before.left);
    EXPECT_NE(clock.soundCommands->find("alert.wav"), std::string::npos) << *clock.soundCommands;
    clock.soundCommands->clear();
    clock.Tick(245'000);  // through the end and the alert: on to the next segment, idle
    EXPECT_EQ(clock->Model().m_segment, 1);
    EXPECT_EQ(clock->Model().m_running, 0);
    EXPECT_TRUE(clock.soundCommands->empty()) << "no sound for an alert slept through";
}

// A second start of the real exe hands its words over too: the end-to-end test's.
TEST(HandOver, CopyDataReachesTheRunningClockOnlyWithTheMagic) {
    TestClock clock(Ini(""));
    const HWND found = FindRunningClock();
    ASSERT_EQ(found, clock->GetSafeHwnd());
    std::string payload = "--start";
    COPYDATASTRUCT foreign{0x1234, static_cast<DWORD>(payload.size()), payload.data()};
    EXPECT_EQ(SendMessageW(found, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&foreign)), FALSE);
    EXPECT_EQ(clock->Model().m_running, 0);
    EXPECT_TRUE(HandOverWords(found, nullptr, {"--settings", "other.ini", "--start", "--add", "-60"}));
    EXPECT_EQ(clock->Model().m_running, 1);
    EXPECT_EQ(clock->Model().m_remaining, 540);
    EXPECT_EQ(clock->Core()->StorePath(), clock.storePath);  // the file is not handed over
}
}  // namespace

// Remote control's start on the real window: off by default with nothing opened; a
// port already taken or a key too short leave it off with the reason in About's
// lines while the clock runs on; on, its menu items copy the control link. The
// requests themselves are the end-to-end script's.
TEST(Remote, OffByDefaultAndOffWithItsReasonWhenItCannotListen) {
    TestClock off(Ini(""));
    PumpMessages(50);  // the start-up's rest, posted
    EXPECT_EQ(off->Remote(), nullptr);

    TestClock first(Ini("remote=local\nremoteport=7371\nremotekey=first-clock-key\n"));
    ASSERT_TRUE(PumpUntil([&] { return first->Remote() != nullptr; }, 2000));
    ASSERT_TRUE(first->Remote()->Listening()) << Narrow(first->Remote()->Status());
    const std::wstring link = first->Remote()->ControlLink();
    EXPECT_EQ(link, L"http://127.0.0.1:7371/?key=first-clock-key");
    EXPECT_EQ(first->Remote()->Status().find(L"first-clock-key"), std::wstring::npos);  // About is seen by all
    EXPECT_NE(first->Remote()->Status().find(L"Settings"), std::wstring::npos);
    SendMessageW(first->GetSafeHwnd(), WM_COMMAND, ID_COPY_REMOTE_LINK, 0);
    std::wstring copied;
    if (OpenClipboard(nullptr)) {
        if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            copied = static_cast<const wchar_t*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    EXPECT_EQ(copied, link);

    struct Case {
        const char* ini;
        const char* why;
    };
    for (const Case& c : {Case{"remote=local\nremoteport=7371\n", "TCP 127.0.0.1:7371"},
                          Case{"remote=local\nremotekey=short\n", "shorter than 8"},
                          Case{"remote=lan\nremotebind=10.0.0.300\n", "not an IPv4 address"}}) {
        TestClock second(Ini(c.ini));
        ASSERT_TRUE(PumpUntil([&] { return second->Remote() != nullptr; }, 2000)) << c.ini;
        EXPECT_FALSE(second->Remote()->Listening());
        const std::string status = Narrow(second->Remote()->Status());
        EXPECT_NE(status.find("Remote control: off"), std::string::npos) << status;
        EXPECT_NE(status.find(c.why), std::string::npos) << status;
        second->StartCountdown();
        EXPECT_EQ(second->Model().m_running, 1) << "the clock runs on";
    }
}
