#include <windows.h>

#include <gtest/gtest.h>
#include <psapi.h>

#include <cstdlib>

#include "tests/win/win_test_support.h"

namespace {
size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return counters.PrivateUsage;
}

// TALLYGLASS_SOAK_LEAK=dc|brush makes every frame leak one object on purpose, to
// show that the checks below catch such a leak (a throwaway run, expected to fail).
void LeakOnPurpose() {
    static const char* kind = std::getenv("TALLYGLASS_SOAK_LEAK");
    if (!kind) return;
    if (std::string(kind) == "dc") CreateCompatibleDC(nullptr);
    if (std::string(kind) == "brush") new Gdiplus::SolidBrush(Gdiplus::Color(1, 2, 3));
}

TEST(Soak, TwentyThousandFramesLeakNothing) {
    TestClock clock(std::string("[settings]\nfontname=") + kTestFont +
                    "\nwavalert=0\nalertcenter=0\ndjsseconds=40\nalertseconds=15\ntitle=Soak title\n");
    CountdownWnd& w = *clock;
    size_t warmedUp = 0;
    long handlesAfterWarmUp = 0;
    const int frames = 20000;
    for (int i = 0; i < frames; ++i) {
        if (i % 100 == 0) {
            w.m_noBackground = (i / 100) % 2;
            switch (i / 100 % 3) {
                case 0: w.m_running = 0, w.m_inAlert = 0; break;   // idle title
                case 1: w.m_running = 1, w.m_inAlert = 0; break;   // counting
                default: w.m_running = 1, w.m_inAlert = 1; break;  // alert
            }
            w.m_remaining = 3600 + i % 700;
            w.Relayout();
        } else {
            w.m_remaining = 1 + i % 4000;
            w.PresentFrame();
        }
        LeakOnPurpose();
        if (i == 2000) {
            warmedUp = PrivateBytes();
            handlesAfterWarmUp = handles::LiveCount();
        }
    }
    const size_t growth = PrivateBytes() > warmedUp ? PrivateBytes() - warmedUp : 0;
    std::printf("soak: %d frames, private bytes grew %zu KiB after warm-up, live handles %ld -> %ld\n", frames,
                growth / 1024, handlesAfterWarmUp, handles::LiveCount());
    EXPECT_LT(growth, 1u << 20);
    EXPECT_EQ(handles::LiveCount(), handlesAfterWarmUp);
    EXPECT_EQ(w.m_memDC, nullptr);

    // A frame still renders: a known idle title in the alert colour over the background.
    w.m_running = 0;
    w.m_noBackground = 0;
    const int before = *clock.frameCount;
    w.Relayout();
    ASSERT_EQ(*clock.frameCount, before + 1);
    const Frame& f = clock.LastFrame();
    EXPECT_EQ(f.width, w.m_width);
    EXPECT_EQ(Frame::Alpha(f.At(f.width - 1, f.height / 2)), 255);
    bool alertColour = false;
    for (uint32_t p : f.pixels) alertColour |= Frame::Red(p) == 255 && Frame::Green(p) == 0x30;
    EXPECT_TRUE(alertColour);
    EXPECT_TRUE(*clock.allPremultiplied);
}
}  // namespace
