#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/win/win_test_support.h"

namespace {
std::string Ini(const std::string& extra) {
    return std::string("[settings]\nfontname=") + kTestFont + "\nwavalert=0\n" + extra;
}

POINT CentreOfWorkArea(HWND hwnd) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info);
    return {(info.rcWork.left + info.rcWork.right) / 2, (info.rcWork.top + info.rcWork.bottom) / 2};
}

void ExpectCentred(const TestClock& clock) {
    const RECT r = clock.WindowRect();
    const POINT centre = CentreOfWorkArea(clock.window->GetSafeHwnd());
    EXPECT_NEAR((r.left + r.right) / 2, centre.x, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, centre.y, 1);
}

TEST(Lifecycle, ReadsEveryKeyAndCorrectsBadValues) {
    TestClock clock(Ini(
        "nobg=1\nalertcenter=0\nfsizenormal=10\nfsizealert=130\nfsizetitle=5\nclrnormal=#GG0000\n"
        "clralert=0,0,255\ndjsseconds=-5\nalertseconds=0\nalertstr=Stop now\ntitle=Keynote\nposleft=5\npostop=6\n"));
    EXPECT_EQ(clock->m_noBackground, 1);
    EXPECT_EQ(clock->m_alertSound, 0);
    EXPECT_EQ(clock->m_alertCenter, 0);
    EXPECT_EQ(clock->m_fontName, kTestFont);
    EXPECT_EQ(clock->m_sizeNormal, 20);
    EXPECT_EQ(clock->m_sizeAlert, 130);
    EXPECT_EQ(clock->m_sizeTitle, 20);
    EXPECT_EQ(clock->m_colorNormal, 0xFFFFFFFFu);
    EXPECT_EQ(clock->m_colorAlert, 0xFF0000FFu);
    EXPECT_EQ(clock->m_countdownSeconds, 10);
    EXPECT_EQ(clock->m_alertSeconds, 10);
    EXPECT_EQ(clock->m_remaining, 10);
    EXPECT_EQ(clock->m_alertText, "Stop now");
    EXPECT_EQ(clock->m_titleText, "Keynote");
    EXPECT_EQ(clock->m_posLeft, 5);
    EXPECT_EQ(clock->m_alertWavPath, clock.folder.Path() + L"\\alert.wav");
    // The idle title shows in the alert colour: blue glyph pixels.
    bool blue = false;
    for (uint32_t p : clock.LastFrame().pixels) blue |= Frame::Alpha(p) == 255 && Frame::Blue(p) == 255;
    EXPECT_TRUE(blue);
}

TEST(Lifecycle, StartsIdleAndCentredWithTheTimerPeriodRaised) {
    TestClock clock(Ini("posleft=3\npostop=4\n"));
    EXPECT_EQ(clock->m_running, 0);
    EXPECT_EQ(clock->m_inAlert, 0);
    ExpectCentred(clock);
    EXPECT_TRUE(clock->PeriodRequested());
    EXPECT_EQ(clock->m_timerResolution, 5u);  // Wine reports wPeriodMin 1
}

struct PositionCase {
    const char* name;
    int countdown, alert;
    int ticks;  // after F2; -1: stay idle
    bool written;
};

TEST(Lifecycle, PositionIsStoredOnlyWhileMoreThanTheAlertRemains) {
    const PositionCase cases[] = {
        {"idle, countdown > alert", 30, 10, -1, true},
        {"idle, countdown <= alert", 10, 10, -1, false},
        {"counting, remaining > alert", 30, 10, 5, true},
        {"counting, remaining <= alert", 30, 10, 25, false},
        {"alert phase", 30, 10, 32, false},
    };
    for (const auto& c : cases) {
        TestClock clock(Ini("posleft=1\npostop=2\ndjsseconds=" + std::to_string(c.countdown) +
                            "\nalertseconds=" + std::to_string(c.alert) + "\n"));
        if (c.ticks >= 0) {
            clock.Key(WM_KEYDOWN, VK_F2);
            for (int i = 0; i < c.ticks; ++i) clock.Tick();
        }
        SetWindowPos(clock->GetSafeHwnd(), nullptr, 123, 45, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        clock->Destroy();
        const std::string stored = ReadFileBytes(clock.storePath);
        EXPECT_EQ(stored.find("posleft = 123") != std::string::npos, c.written) << c.name;
        EXPECT_EQ(stored.find("postop = 45") != std::string::npos, c.written) << c.name;
        EXPECT_EQ(stored.find("posleft=1") != std::string::npos || stored.find("posleft = 1\r") != std::string::npos,
                  !c.written)
            << c.name;
        for (const char* key : {"nobg =", "wavalert =", "alertcenter =", "fsizenormal =", "fsizealert =",
                                "djsseconds =", "alertseconds ="})
            EXPECT_NE(stored.find(key), std::string::npos) << c.name << " " << key;
    }
}

TEST(Lifecycle, ReadOnlyStoreLeavesTheClockRunningAndTheFileIntact) {
    const std::string ini = Ini("djsseconds=40\n");
    TestClock clock(ini);
    SetFileAttributesW(clock.storePath.c_str(), FILE_ATTRIBUTE_READONLY);
    clock->m_countdownSeconds = 99;
    clock.Key(WM_KEYDOWN, VK_F2);
    clock.Tick();
    EXPECT_EQ(clock->m_remaining, 98);
    clock->Destroy();
    SetFileAttributesW(clock.storePath.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(clock.storePath), ini);
}

TEST(KeyFilter, F2StartsF4ResetsAndNothingCloses) {
    TestClock clock(Ini("djsseconds=30\nalertseconds=5\n"));
    HWND hwnd = clock->GetSafeHwnd();
    SetWindowPos(hwnd, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    clock.Key(WM_KEYDOWN, VK_F2);
    EXPECT_EQ(clock->m_running, 1);
    ExpectCentred(clock);  // F2 from idle centres
    clock.Tick();
    SetWindowPos(hwnd, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    clock.Key(WM_KEYDOWN, VK_F2);  // auto-repeat while running: nothing moves
    EXPECT_EQ(clock.WindowRect().left, 10);
    EXPECT_EQ(clock->m_remaining, 29);
    for (WPARAM key : {WPARAM{VK_RETURN}, WPARAM{VK_ESCAPE}}) clock.Key(WM_KEYDOWN, key);
    for (WPARAM key : {WPARAM{VK_F4}, WPARAM{VK_MENU}, WPARAM{VK_F10}}) clock.Key(WM_SYSKEYDOWN, key);
    PumpMessages();
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_FALSE(clock->IsModalEnded());
    EXPECT_EQ(clock->m_running, 1);  // Alt+F4 is not F4
    clock.Key(WM_KEYDOWN, VK_F4);
    EXPECT_EQ(clock->m_running, 0);
    EXPECT_EQ(clock->m_remaining, 30);
    ExpectCentred(clock);
}

TEST(Engine, AFullCycleShowsTheAlertThenResets) {
    TestClock clock(Ini("djsseconds=3\nalertseconds=2\nalertcenter=1\nalertstr=UP\n"));
    clock.Key(WM_KEYDOWN, VK_F2);
    const int idleWidth = clock->m_width;
    clock.Tick();
    clock.Tick();
    SetWindowPos(clock->GetSafeHwnd(), nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    clock.Tick();  // alert
    EXPECT_EQ(clock->m_inAlert, 1);
    EXPECT_EQ(clock->m_remaining, 2);
    EXPECT_GT(clock->m_width, idleWidth);  // "UP 2" at the alert size
    ExpectCentred(clock);
    bool red = false;
    for (uint32_t p : clock.LastFrame().pixels) red |= Frame::Alpha(p) == 255 && Frame::Red(p) == 255 && Frame::Green(p) < 80;
    EXPECT_TRUE(red);  // the alert colour
    const uint32_t timerId = clock->m_timerId;
    clock.Tick();
    clock.Tick();  // end of the alert
    EXPECT_EQ(clock->m_running, 0);
    EXPECT_EQ(clock->m_remaining, 3);
    SendMessageW(clock->GetSafeHwnd(), kTickMessage, timerId, 0);  // a stale tick
    EXPECT_EQ(clock->m_remaining, 3);
}

TEST(Engine, RealPeriodicTimerTicksAndNeverLeaks) {
    TestClock clock(Ini("djsseconds=600\n"), /*manualTicks=*/false);
    // Wine, like Windows, has room for 16 multimedia timers: a leak fails fast.
    for (int i = 0; i < 1000; ++i) {
        clock.Key(WM_KEYDOWN, VK_F2);
        ASSERT_NE(clock->m_timerId, kNoTimer) << "cycle " << i;
        clock.Key(WM_KEYDOWN, VK_F4);
        ASSERT_EQ(clock->m_timerId, kNoTimer);
    }
    PumpMessages(1200);  // ticks of the stopped timers, if any, must change nothing
    EXPECT_EQ(clock->m_remaining, 600);
    clock.Key(WM_KEYDOWN, VK_F2);
    PumpMessages(2500);
    EXPECT_EQ(clock->m_remaining, 598);
}

HWND FindSettingsDialog() { return FindWindowW(L"#32770", L"\u65B0\u5012\u8BA1\u65F6"); }

TEST(MenuCommands, NewCountdownConfirmedWhileRunning) {
    TestClock clock(Ini("djsseconds=600\nalertseconds=60\nfsizenormal=48\n"));
    HWND hwnd = clock->GetSafeHwnd();
    clock.Key(WM_KEYDOWN, VK_F2);
    SetWindowPos(hwnd, nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    bool ownerDisabled = false;
    RunSoon(100, [&] {
        HWND dialog = FindSettingsDialog();
        ASSERT_NE(dialog, nullptr);
        ownerDisabled = !IsWindowEnabled(hwnd);
        SetDlgItemTextW(dialog, IDC_COUNTDOWN_HOURS, L"1");
        SetDlgItemTextW(dialog, IDC_COUNTDOWN_MINUTES, L"90");
        SetDlgItemTextW(dialog, IDC_COUNTDOWN_SECONDS, L"");
        SetDlgItemTextW(dialog, IDC_SIZE_NORMAL, L"96");
        SendMessageW(GetDlgItem(dialog, IDC_OK_BUTTON), BM_CLICK, 0, 0);
    });
    SendMessageW(hwnd, WM_COMMAND, ID_NEW_COUNTDOWN, 0);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_EQ(clock->m_running, 0);
    EXPECT_EQ(clock->m_countdownSeconds, 9000);
    EXPECT_EQ(clock->m_remaining, 9000);
    EXPECT_EQ(clock->m_sizeNormal, 96);
    const RECT r = clock.WindowRect();
    EXPECT_EQ(r.left, 40);  // where it was when the command was chosen
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.right - r.left, clock->m_width);
}

TEST(MenuCommands, NewCountdownCancelledOnlyRecordsThePosition) {
    TestClock clock(Ini("djsseconds=600\n"));
    HWND hwnd = clock->GetSafeHwnd();
    SetWindowPos(hwnd, nullptr, 70, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RunSoon(100, [] {
        HWND dialog = FindSettingsDialog();
        ASSERT_NE(dialog, nullptr);
        SetDlgItemTextW(dialog, IDC_COUNTDOWN_MINUTES, L"1");
        SendMessageW(dialog, WM_CLOSE, 0, 0);  // the caption's close box
    });
    SendMessageW(hwnd, WM_COMMAND, ID_NEW_COUNTDOWN, 0);
    EXPECT_EQ(clock->m_countdownSeconds, 600);
    EXPECT_EQ(clock->m_posLeft, 70);
    EXPECT_EQ(clock->m_posTop, 80);
    EXPECT_TRUE(IsWindowEnabled(hwnd));
}

TEST(MenuCommands, ExitEndsTheModalRunAndStoresTheSettings) {
    TempFolder folder;
    const std::wstring store = folder.File(L"TallyglassCountdown.ini");
    WriteFileBytes(store, Ini("djsseconds=100\n"));
    CountdownWndOptions options;
    options.storePath = store;
    options.appPath = folder.Path();
    CountdownWnd window(nullptr, std::move(options));
    RunSoon(100, [&] {
        window.m_countdownSeconds = 4242;  // as if changed in the dialog
        SendMessageW(window.GetSafeHwnd(), WM_COMMAND, ID_EXIT, 0);
    });
    window.DoModal();
    EXPECT_EQ(window.GetSafeHwnd(), nullptr);
    EXPECT_NE(ReadFileBytes(store).find("djsseconds = 4242"), std::string::npos);
}
}  // namespace
