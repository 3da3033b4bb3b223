#include <gtest/gtest.h>

#include "clock/display_selection.h"

using namespace tallyglass;

namespace {
constexpr uint32_t kWhite = 0xFFFFFFFF, kRed = 0xFFFF3030, kAmber = 0xFFFFC000, kDimRed = 0x3FFF3030;

// Counting: 72 px white, amber from the warning threshold; the alert: 96 px red
// after "Up", a 60 s alert; the idle title: 48 px red.
TEST(SelectDisplay, TextSizeAndColourOfEachPhase) {
    struct Row {
        int32_t running, inAlert, overtime, flash, paused, warnSeconds, remaining;
        const char* title;
        const char* text;
        int32_t size;
        uint32_t color;
    };
    const Row rows[] = {
        {0, 0, 0, 0, 0, 0, 65, "Talk", "Talk", 48, kRed},  // idle title, whatever the time
        {0, 1, 0, 0, 0, 0, 65, "Talk", "Talk", 48, kRed},  // and whatever the alert flag
        {0, 0, 0, 0, 0, 0, 65, "   ", "   ", 48, kRed},    // a blank title is still a title
        {0, 0, 0, 0, 0, 0, 65, "", "1:05", 72, kWhite},    // no title: the time text
        {0, 1, 0, 0, 0, 0, 65, "", "Up 1:05", 96, kRed},
        {1, 0, 0, 0, 0, 0, 65, "Talk", "1:05", 72, kWhite},  // running never shows the title
        {1, 1, 0, 0, 0, 0, 65, "Talk", "Up 1:05", 96, kRed},
        {1, 0, 0, 0, 0, 30, 31, "", "31", 72, kWhite},       // above the warning threshold
        {1, 0, 0, 0, 0, 30, 30, "", "30", 72, kAmber},       // at it
        {1, 0, 0, 0, 0, 30, 1, "", "1", 72, kAmber},         // below it
        {1, 0, 0, 0, 0, 600, 600, "", "10:00", 72, kAmber},  // a threshold at the length: the whole count
        {1, 0, 0, 0, 0, 0, 1, "", "1", 72, kWhite},          // 0 is off
        {1, 0, 0, 0, 0, -5, 1, "", "1", 72, kWhite},         // and so is anything below
        {0, 0, 0, 0, 0, 600, 600, "", "10:00", 72, kWhite},  // idle is not counting
        {1, 1, 0, 0, 0, 600, 5, "", "Up 5", 96, kRed},       // the alert keeps its colour
        {1, 0, 0, 0, 1, 30, 30, "", "30", 72, 0x7FFFC000},   // paused: half the opacity
        {1, 1, 0, 0, 1, 0, 5, "", "Up 5", 96, 0x7FFF3030},
        {1, 1, 1, 0, 0, 0, 0, "", "Up +0:00", 96, kRed},  // overtime counts how long the time is over
        {1, 1, 1, 0, 0, 0, -1, "", "Up +0:01", 96, kRed},
        {1, 1, 1, 0, 0, 0, -65, "", "Up +1:05", 96, kRed},
        {1, 1, 1, 0, 0, 0, -3600, "", "Up +1:00:00", 96, kRed},
        {1, 1, 1, 0, 0, 0, INT32_MIN, "", "Up +596523:14:07", 96, kRed},
        {1, 1, 1, 1, 0, 0, 0, "", "Up +0:00", 96, kRed},  // the flash dims every other second
        {1, 1, 1, 1, 0, 0, -1, "", "Up +0:01", 96, kDimRed},
        {1, 1, 1, 1, 0, 0, -2, "", "Up +0:02", 96, kRed},
        {1, 1, 1, 1, 1, 0, -1, "", "Up +0:01", 96, 0x1FFF3030},
        {1, 1, 0, 1, 0, 0, 60, "", "Up 1:00", 96, kRed},  // the alert's first second
        {1, 1, 0, 1, 0, 0, 59, "", "Up 59", 96, kDimRed},
        {1, 1, 0, 0, 0, 0, 59, "", "Up 59", 96, kRed},
    };
    for (const Row& row : rows) {
        CountdownModel m;
        m.m_sizeNormal = 72;
        m.m_sizeAlert = 96;
        m.m_sizeTitle = 48;
        m.m_colorNormal = kWhite;
        m.m_colorAlert = kRed;
        m.m_colorWarn = kAmber;
        m.m_alertText = "Up";
        m.m_alertSeconds = 60;
        m.m_running = row.running;
        m.m_inAlert = row.inAlert;
        m.m_overtime = row.overtime;
        m.m_alertFlash = row.flash;
        m.m_paused = row.paused;
        m.m_warnSeconds = row.warnSeconds;
        m.m_remaining = row.remaining;
        m.m_titleText = row.title;
        const DisplayChoice choice = SelectDisplay(m);
        EXPECT_EQ(choice.text, row.text) << row.remaining;
        EXPECT_EQ(choice.size, row.size) << row.text;
        EXPECT_EQ(choice.color, row.color) << row.text << " " << row.remaining;
    }
}
}  // namespace
