#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/win/win_test_support.h"

namespace {
std::string Ini(const std::string& extra) {
    return std::string("[settings]\nfontname=") + kTestFont + "\nwavalert=0\n" + extra;
}

void ExpectCentred(const TestClock& clock) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(clock.window->GetSafeHwnd(), MONITOR_DEFAULTTONEAREST), &info);
    const RECT r = clock.WindowRect();
    EXPECT_NEAR(r.left + r.right, info.rcWork.left + info.rcWork.right, 2);
    EXPECT_NEAR(r.top + r.bottom, info.rcWork.top + info.rcWork.bottom, 2);
}

TEST(Lifecycle, ReadsEveryKeyCorrectsBadValuesAndStartsCentred) {
    TestClock clock(Ini(
        "nobg=1\nalertcenter=0\nfsizenormal=10\nfsizealert=130\nclrnormal=#GG0000\nclralert=0,0,255\n"
        "djsseconds=-5\nalertseconds=0\nalertstr=Stop now\ntitle=Keynote\nposleft=5\npostop=6\n"));
    EXPECT_EQ(clock->Model().m_noBackground, 1);
    EXPECT_EQ(clock->Model().m_alertCenter, 0);
    EXPECT_EQ(clock->Model().m_sizeNormal, 20);
    EXPECT_EQ(clock->Model().m_sizeAlert, 130);
    EXPECT_EQ(clock->Model().m_colorNormal, 0xFFFFFFFFu);
    EXPECT_EQ(clock->Model().m_colorAlert, 0xFF0000FFu);
    EXPECT_EQ(clock->Model().m_countdownSeconds, 10);
    EXPECT_EQ(clock->Model().m_alertSeconds, 10);
    EXPECT_EQ(clock->Model().m_alertText, "Stop now");
    EXPECT_EQ(clock->AlertWavPath(), clock.folder.Path() + L"\\alert.wav");
    EXPECT_EQ(clock->TimerResolution(), 5u);  // Wine reports wPeriodMin 1
    ExpectCentred(clock);
    // The idle title shows in the alert colour: blue glyph pixels.
    bool blue = false;
    for (uint32_t p : clock.LastFrame().pixels) blue |= Frame::Alpha(p) == 255 && Frame::Blue(p) == 255;
    EXPECT_TRUE(blue);
}

TEST(Lifecycle, PositionIsStoredOnlyWhileMoreThanTheAlertRemains) {
    struct Case {
        const char* name;
        int countdown, ticks;  // ticks after F2; -1: stay idle
        bool written;
    };
    for (const Case& c : {Case{"idle, countdown > alert", 30, -1, true}, Case{"idle, countdown <= alert", 10, -1, false},
                          Case{"counting, remaining > alert", 30, 5, true},
                          Case{"counting, remaining <= alert", 30, 25, false}, Case{"alert phase", 30, 32, false}}) {
        TestClock clock(Ini("posleft=1\npostop=2\nalertseconds=10\ndjsseconds=" + std::to_string(c.countdown) + "\n"));
        if (c.ticks >= 0) clock.Key(WM_KEYDOWN, VK_F2);
        for (int i = 0; i < c.ticks; ++i) clock.Tick();
        SetWindowPos(clock->GetSafeHwnd(), nullptr, 123, 45, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        clock->Destroy();
        const std::string stored = ReadFileBytes(clock.storePath);
        EXPECT_EQ(stored.find("posleft = 123") != std::string::npos, c.written) << c.name;
        EXPECT_EQ(stored.find("postop = 45") != std::string::npos, c.written) << c.name;
        EXPECT_NE(stored.find("alertseconds = 10"), std::string::npos) << c.name;  // always written
    }
}

TEST(Engine, RealPeriodicTimerTicksAndNeverLeaks) {
    TestClock clock(Ini("djsseconds=600\n"), /*manualTicks=*/false);
    // Wine, like Windows, has room for 16 multimedia timers: a leak fails fast.
    for (int i = 0; i < 1000; ++i) {
        clock.Key(WM_KEYDOWN, VK_F2);
        ASSERT_NE(clock->Model().m_timerId, kNoTimer) << "cycle " << i;
        clock.Key(WM_KEYDOWN, VK_F4);
        ASSERT_EQ(clock->Model().m_timerId, kNoTimer);
    }
    PumpMessages(1200);  // ticks of the stopped timers, if any, must change nothing
    EXPECT_EQ(clock->Model().m_remaining, 600);
    clock.Key(WM_KEYDOWN, VK_F2);
    PumpMessages(2500);
    EXPECT_EQ(clock->Model().m_remaining, 598);
}

TEST(MenuCommands, NewCountdownCancelledThenConfirmedWhileRunning) {
    TestClock clock(Ini("djsseconds=600\nfsizenormal=48\n"));
    HWND hwnd = clock->GetSafeHwnd();
    auto runDialog = [&](std::function<void(HWND)> user) {
        RunSoon(100, [user] {
            HWND dialog = FindWindowW(L"#32770", L"\u65B0\u5012\u8BA1\u65F6");
            ASSERT_NE(dialog, nullptr);
            user(dialog);
        });
        SendMessageW(hwnd, WM_COMMAND, ID_NEW_COUNTDOWN, 0);
    };
    SetWindowPos(hwnd, nullptr, 70, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    runDialog([](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_COUNTDOWN_MINUTES, L"1");
        SendMessageW(dialog, WM_CLOSE, 0, 0);  // the caption's close box
    });
    EXPECT_EQ(clock->Model().m_countdownSeconds, 600);  // cancelled: only the position is recorded
    EXPECT_EQ(clock->Model().m_posLeft, 70);

    clock.Key(WM_KEYDOWN, VK_F2);
    SetWindowPos(hwnd, nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    bool ownerDisabled = false;
    runDialog([&](HWND dialog) {
        ownerDisabled = !IsWindowEnabled(hwnd);
        SetDlgItemTextW(dialog, IDC_COUNTDOWN_HOURS, L"1");
        SetDlgItemTextW(dialog, IDC_COUNTDOWN_MINUTES, L"90");
        SetDlgItemTextW(dialog, IDC_COUNTDOWN_SECONDS, L"");
        SetDlgItemTextW(dialog, IDC_SIZE_NORMAL, L"96");
        SendMessageW(GetDlgItem(dialog, IDC_OK_BUTTON), BM_CLICK, 0, 0);
    });
    EXPECT_TRUE(ownerDisabled);
    EXPECT_EQ(clock->Model().m_running, 0);
    EXPECT_EQ(clock->Model().m_remaining, 9000);
    EXPECT_EQ(clock->Model().m_sizeNormal, 96);
    const RECT r = clock.WindowRect();
    EXPECT_EQ(r.left, 40);  // where it was when the command was chosen, at its new size
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.right - r.left, clock->Model().m_width);
}
}  // namespace
