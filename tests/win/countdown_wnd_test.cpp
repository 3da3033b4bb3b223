#include <gtest/gtest.h>

#include <thread>

#include "res/resource.h"
#include "store/settings_store.h"
#include "tests/win/win_test_support.h"

using namespace tallyglass;

namespace {

TEST(Lifecycle, ReadsTheRealStoreAndStartsCentredWhateverPlaceIsStored) {
    TestClock clock(TestIni("nobg=1\nalertcenter=0\nfsizenormal=10\nposleft=5\npostop=6\n"));
    // Each field's correction is the native binding table's; here the real store feeds it.
    EXPECT_EQ(clock->Model().m_sizeNormal, 20);
    EXPECT_EQ(clock->AlertWavPath(), clock.folder.Path() + L"\\alert.wav");
    EXPECT_EQ(clock->TimerResolution(), 5u);  // Wine reports wPeriodMin 1
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(clock->GetSafeHwnd(), MONITOR_DEFAULTTONEAREST), &info);
    const RECT r = clock.WindowRect();
    EXPECT_NEAR(r.left + r.right, info.rcWork.left + info.rcWork.right, 2);
    EXPECT_NEAR(r.top + r.bottom, info.rcWork.top + info.rcWork.bottom, 2);
}

TEST(Engine, RealTimersTickResumeAPauseAndNeverLeak) {
    TestClock clock(TestIni("djsseconds=600\n"), /*manualTicks=*/false);
    // Wine, like Windows, has room for 16 multimedia timers: a leak fails fast.
    for (int i = 0; i < 1000; ++i) {
        clock.Key(WM_KEYDOWN, VK_F2);
        ASSERT_NE(clock->Model().m_timerId, kNoTimer) << "cycle " << i;
        clock.Key(WM_KEYDOWN, VK_F4);
        ASSERT_EQ(clock->Model().m_timerId, kNoTimer);
    }
    clock.Key(WM_KEYDOWN, VK_F2);
    clock.Key(WM_KEYDOWN, VK_F3);
    PumpMessages(1200);  // ticks of the stopped timers, if any, and none while paused
    EXPECT_EQ(clock->Model().m_remaining, 600);
    clock.Key(WM_KEYDOWN, VK_F3);
    EXPECT_TRUE(PumpUntil([&] { return clock->Model().m_remaining <= 598; }, 5000)) << "two real ticks within 5 s";
    EXPECT_EQ(clock->Model().m_remaining, 598);  // the one-shot for the rest of the second, then the periodic timer
    EXPECT_EQ(clock->Model().m_oneShotTimer, 0);
    EXPECT_NE(clock->Model().m_timerId, kNoTimer);
}

TEST(Frame, NoLaterTextReachesIntoTheRightMargin) {
    // Every text of a countdown and its alert, from "1:01" down to "UP 1", is
    // drawn in a window laid out for an earlier one: none may run out of room.
    TestClock clock(TestIni("nobg=1\ndjsseconds=61\nalertseconds=11\nalertstr=UP\nfsizenormal=72\nfsizealert=72\n"));
    clock.Key(WM_KEYDOWN, VK_F2);
    for (int i = 0; i < 72 && clock->Model().m_running; ++i) clock.Tick();
    EXPECT_EQ(clock->Model().m_running, 0);
    EXPECT_GE(*clock.narrowestRightGap, clock->Model().m_margin);
}

TEST(Frame, ATranslucentColourStaysTranslucent) {
    TestClock clock(TestIni("nobg=1\nclrnormal=#80FF0000\nfsizenormal=96\n"));
    int inside = 0;
    for (uint32_t p : clock.LastFrame().pixels) {
        ASSERT_LT(Frame::Alpha(p), 0xC0) << std::hex << p;  // never drawn opaque
        if (Frame::Alpha(p) == 0x80 && Frame::Red(p) == 0x80 && Frame::Green(p) == 0) ++inside;
    }
    EXPECT_GT(inside, 200);  // the glyphs' insides: half-transparent red, premultiplied
}

TEST(Phases, OvertimeWidensWhereTheClockStandsAndItsPlaceIsNotStored) {
    TestClock clock(
        TestIni("nobg=1\novertime=1\nalertcenter=0\ndjsseconds=1\nalertseconds=60\nposleft=10\npostop=20\n"));
    clock.Key(WM_KEYDOWN, VK_F2);
    clock.Tick();  // zero: the alert at the stored place
    EXPECT_EQ(clock.WindowRect().left, 10);
    SetWindowPos(clock->GetSafeHwnd(), nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // dragged
    for (int i = 0; i < 599; ++i) clock.Tick();
    const LONG narrow = clock.WindowRect().right - clock.WindowRect().left;  // "+9:59"
    clock.Tick();                                                            // "+10:00"
    const RECT wide = clock.WindowRect();
    EXPECT_GT(wide.right - wide.left, narrow);
    EXPECT_EQ(wide.left, 200);
    EXPECT_EQ(wide.top, 150);
    EXPECT_GE(*clock.narrowestRightGap, clock->Model().m_margin);  // no glyph ever cut off
    clock->Destroy();
    SettingsStore stored;
    stored.Load(ReadFileBytes(clock.storePath));
    EXPECT_EQ(stored.GetInt("posleft"), 10);
}

// Closing it without a change, and a length confirmed and applied where the
// clock stood, are the end-to-end tests'; that it ends whatever ran the engine's.
TEST(MenuCommands, NewCountdownDisablesTheClockAndKeepsItsKeysAwayWhileOpen) {
    TestClock clock(TestIni("djsseconds=600\nfsizenormal=48\n"));
    HWND hwnd = clock->GetSafeHwnd();
    clock.Key(WM_KEYDOWN, VK_F2);
    clock.Tick();
    // F4 and F2 while the dialog is open, to the dialog's field and to the clock
    // itself, go nowhere: the clock keeps counting the same second.
    // The user, another thread: the dialog is modal, and this one runs its loop.
    bool ownerDisabled = false;
    std::thread user([hwnd, &ownerDisabled] {
        HWND dialog = nullptr;  // shown once the owner is disabled
        for (int i = 0; i < 500 && !IsWindowVisible(dialog = FindWindowW(L"#32770", L"\u65B0\u5012\u8BA1\u65F6")); ++i)
            Sleep(10);
        ownerDisabled = !IsWindowEnabled(hwnd);
        for (HWND target : {GetDlgItem(dialog, IDC_COUNTDOWN_HOURS), hwnd}) {
            PostMessageW(target, WM_KEYDOWN, VK_F4, 1);
            PostMessageW(target, WM_KEYDOWN, VK_F2, 1);
        }
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    SendMessageW(hwnd, WM_COMMAND, ID_NEW_COUNTDOWN, 0);
    user.join();
    EXPECT_TRUE(ownerDisabled);
    EXPECT_EQ(clock->Model().m_running, 1);
    EXPECT_EQ(clock->Model().m_remaining, 599);
}
}  // namespace
