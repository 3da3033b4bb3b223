#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "tests/win/win_test_support.h"

using namespace tallyglass;

namespace {

// How many partly transparent pixels an edge of a glyph spans, on average, along
// the rows of the frame's middle third: blur (a stretched frame) widens it.
double MeanEdgeWidth(const Frame& frame) {
    int partial = 0, edges = 0;
    for (int32_t y = frame.height / 3; y < 2 * frame.height / 3; ++y) {
        bool inEdge = false;
        for (int32_t x = 0; x < frame.width; ++x) {
            const uint8_t a = Frame::Alpha(frame.At(x, y));
            const bool soft = a != 0 && a < 0xF0;
            partial += soft;
            edges += soft && !inEdge;
            inEdge = soft;
        }
    }
    return edges ? static_cast<double>(partial) / edges : 0;
}

// What a system that scales a DPI-unaware window would show: the frame's alpha
// stretched by the factor, bilinearly.
Frame Stretched(const Frame& frame, double factor) {
    Frame out;
    out.width = static_cast<int32_t>(frame.width * factor);
    out.height = static_cast<int32_t>(frame.height * factor);
    out.pixels.resize(static_cast<size_t>(out.width) * out.height);
    auto alpha = [&](int32_t x, int32_t y) {
        return double(Frame::Alpha(frame.At(std::min(x, frame.width - 1), std::min(y, frame.height - 1))));
    };
    for (int32_t y = 0; y < out.height; ++y)
        for (int32_t x = 0; x < out.width; ++x) {
            const double sx = x / factor, sy = y / factor;
            const int32_t x0 = static_cast<int32_t>(sx), y0 = static_cast<int32_t>(sy);
            const double fx = sx - x0, fy = sy - y0;
            const double a = (alpha(x0, y0) * (1 - fx) + alpha(x0 + 1, y0) * fx) * (1 - fy) +
                             (alpha(x0, y0 + 1) * (1 - fx) + alpha(x0 + 1, y0 + 1) * fx) * fy;
            out.pixels[static_cast<size_t>(y) * out.width + x] = static_cast<uint32_t>(a + 0.5) << 24;
        }
    return out;
}

// Run by make test in a prefix whose screen is set to 144 DPI.
TEST(HighDpi, SizesAreScaledFrom96AndGlyphsRenderedAtTheMonitorsResolution) {
    const std::string ini = TestIni("nobg=1\nfsizenormal=72\n");
    TestClock at96(ini, true, /*dpiOverride=*/96);
    TestClock here(ini);
    ASSERT_EQ(here->Dpi(), 144u) << "this test needs a screen at 144 DPI";
    const Frame& small = at96.LastFrame();
    const Frame& large = here.LastFrame();
    EXPECT_NEAR(large.width, small.width * 1.5, 3);
    EXPECT_NEAR(large.height, small.height * 1.5, 3);
    EXPECT_EQ(here->Model().m_margin, 32);  // 108 px x 0.3
    // As sharp: drawn at this resolution, its edges are narrower than those of
    // the 96 DPI frame stretched to the same size.
    const double drawn = MeanEdgeWidth(large), stretched = MeanEdgeWidth(Stretched(small, 1.5));
    std::printf("edge width at 144 DPI: %.2f px drawn, %.2f px stretched\n", drawn, stretched);
    EXPECT_LT(drawn, stretched);
}

TEST(Desktop, DpiChangeLaysTheClockOutAgainAtTheSuggestedPlace) {
    TestClock clock(TestIni("fsizenormal=48\n"));
    const LONG width = clock.WindowRect().right - clock.WindowRect().left;
    RECT suggested{200, 150, 500, 250};
    SendMessageW(clock->GetSafeHwnd(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    const RECT now = clock.WindowRect();
    EXPECT_EQ(clock->Dpi(), 192u);
    EXPECT_NEAR(now.right - now.left, 2 * width, 4);
    EXPECT_EQ(now.left, 200);
    EXPECT_EQ(now.top, 150);
}

// Starts the rival program (see rival_window_win.cpp) and waits for its window;
// each rival is gone before the next test starts one.
class Rival {
public:
    explicit Rival(const std::wstring& arguments) {
        wchar_t exe[MAX_PATH];
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        std::wstring path(exe);
        path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"rival_window.exe";  // beside us
        std::wstring commandLine = L"\"" + path + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process))
            return;
        m_process = KernelHandle(process.hProcess);
        m_thread = KernelHandle(process.hThread);
        PumpUntil([&] { return (m_window = FindWindowW(L"TallyglassRival", nullptr)) != nullptr; }, 5000);
    }
    ~Rival() {
        if (m_process && TerminateProcess(m_process.get(), 0)) WaitForSingleObject(m_process.get(), 5000);
    }
    HWND Window() const { return m_window; }
    bool Below(HWND window) const {
        for (HWND w = GetWindow(window, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
            if (w == m_window) return false;
        return true;
    }

private:
    KernelHandle m_process, m_thread;
    HWND m_window = nullptr;
};

TEST(Desktop, ClockComesBackAboveARivalTopmostWindowWithoutTakingTheFocus) {
    TestClock clock(TestIni(""));
    const Rival rival(L"8");
    ASSERT_NE(rival.Window(), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return rival.Below(clock->GetSafeHwnd()); }, 2500)) << "within two seconds";
    EXPECT_EQ(GetForegroundWindow(), rival.Window());  // the rival keeps the focus
}

TEST(Desktop, AForegroundChangeOfAnotherProgramPutsTheKeeperOnTopAtOnce) {
    // The keeper's fallback check is put out of reach: only the event can act.
    OwnedWindow window(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"BUTTON", L"kept", WS_POPUP | WS_VISIBLE, 50,
                                       50, 200, 100, nullptr, nullptr, nullptr, nullptr));
    TopmostKeeper keeper(window.get(), /*checkPeriodMs=*/600000);
    EXPECT_TRUE(keeper.Hooked());
    const Rival rival(L"8 --announce");
    ASSERT_NE(rival.Window(), nullptr);
    // The fallback check is ten minutes away, so whatever puts the window back on
    // top within this bound is the event.
    EXPECT_TRUE(PumpUntil([&] { return rival.Below(window.get()); }, 5000)) << "after the event";
    EXPECT_EQ(GetForegroundWindow(), rival.Window());
}

TEST(Desktop, ScreenCaptureExclusionIsAskedOnlyWhereTheSystemCanDoIt) {
    struct Case {
        uint32_t build;
        bool hasCall, accepts;
        CaptureExclusion result;
        bool called;
    };
    const Case cases[] = {
        {19041, true, true, CaptureExclusion::Excluded, true},
        {22631, true, false, CaptureExclusion::Refused, true},
        {18363, true, true, CaptureExclusion::SystemTooOld, false},  // would show a black box
        {19045, false, true, CaptureExclusion::SystemTooOld, false},
    };
    for (const Case& c : cases) {
        DWORD asked = 0;
        CaptureSystem system;
        system.windowsBuild = c.build;
        if (c.hasCall) system.setAffinity = [&](HWND, DWORD affinity) { return (asked = affinity), c.accepts; };
        TestClock clock(TestIni("hidefromcapture=1\n"), true, 0, system);
        EXPECT_EQ(clock->Capture(), c.result) << c.build;
        EXPECT_EQ(asked, c.called ? 0x11u : 0u) << c.build;
        EXPECT_EQ(CaptureExclusionNote(c.result).empty(), c.result == CaptureExclusion::Excluded) << c.build;
    }
    // This system, whatever it answers: the clock runs and draws.
    TestClock real(TestIni("hidefromcapture=1\n"));
    EXPECT_NE(real->Capture(), CaptureExclusion::NotAsked);
    const char* names[] = {"not asked", "excluded", "refused", "system too old"};
    std::printf("capture exclusion on this system: %s\n", names[static_cast<int>(real->Capture())]);
    EXPECT_GT(real.LastFrame().width, 0);
}

TEST(Desktop, ClickThroughLetsTheWindowBelowBeFoundAndOpacityScalesTheConstantAlpha) {
    for (bool through : {false, true}) {
        TestClock clock(TestIni(std::string("nobg=0\nopacity=50\nclickthrough=") + (through ? "1" : "0") + "\n"));
        const RECT r = clock.WindowRect();
        // A button, not a static control: statics are transparent to hit-testing themselves.
        OwnedWindow below(CreateWindowExW(0, L"BUTTON", L"below", WS_POPUP | WS_VISIBLE, r.left - 20, r.top - 20,
                                          r.right - r.left + 40, r.bottom - r.top + 40, nullptr, nullptr, nullptr,
                                          nullptr));
        SetWindowPos(clock->GetSafeHwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        PumpMessages(50);
        const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        EXPECT_EQ(WindowFromPoint(centre) == below.get(), through);
        EXPECT_EQ(clock->Presenter()->Blend().SourceConstantAlpha, 127);  // the native table's 50 %
    }
}
}  // namespace
