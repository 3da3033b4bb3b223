#include <gtest/gtest.h>

#include "countdown/display_selection.h"

namespace {
CountdownModel Model() {
    CountdownModel m;
    m.m_sizeNormal = 72;
    m.m_sizeAlert = 96;
    m.m_sizeTitle = 48;
    m.m_colorNormal = 0xFFFFFFFF;
    m.m_colorAlert = 0xFFFF3030;
    m.m_alertText = "Up";
    m.m_remaining = 65;
    return m;
}

TEST(SelectDisplay, TableOfRows) {
    struct Row {
        int32_t running, inAlert;
        const char* title;
        const char* text;
        int32_t size;
        uint32_t color;
    };
    const Row rows[] = {
        {0, 0, "Talk", "Talk", 48, 0xFFFF3030},  // idle title, whatever the time
        {0, 1, "Talk", "Talk", 48, 0xFFFF3030},  // row 1 ignores the alert flag
        {0, 0, "   ", "   ", 48, 0xFFFF3030},    // a blank title is still a title
        {0, 0, "", "1:05", 72, 0xFFFFFFFF},      // no title: the time text
        {0, 1, "", "Up 1:05", 96, 0xFFFF3030},
        {1, 0, "Talk", "1:05", 72, 0xFFFFFFFF},  // running never shows the title
        {1, 1, "Talk", "Up 1:05", 96, 0xFFFF3030},
    };
    for (const auto& row : rows) {
        CountdownModel m = Model();
        m.m_running = row.running;
        m.m_inAlert = row.inAlert;
        m.m_titleText = row.title;
        const DisplayChoice choice = SelectDisplay(m);
        EXPECT_EQ(choice.text, row.text);
        EXPECT_EQ(choice.size, row.size);
        EXPECT_EQ(choice.color, row.color);
    }
}
TEST(SelectDisplay, WarningColourFromTheThresholdWhileCounting) {
    struct Row {
        int32_t running, inAlert, warnSeconds, remaining;
        uint32_t color;
    };
    const Row rows[] = {
        {1, 0, 30, 31, 0xFFFFFFFF},    // above the threshold
        {1, 0, 30, 30, 0xFFFFC000},    // at it
        {1, 0, 30, 1, 0xFFFFC000},     // below it
        {1, 0, 600, 600, 0xFFFFC000},  // a threshold at the length: the whole countdown
        {1, 0, 0, 1, 0xFFFFFFFF},      // 0 is off
        {1, 0, -5, 1, 0xFFFFFFFF},     // and so is anything below
        {0, 0, 600, 600, 0xFFFFFFFF},  // idle is not counting
        {1, 1, 600, 5, 0xFFFF3030},    // the alert keeps its colour
    };
    for (const Row& row : rows) {
        CountdownModel m = Model();
        m.m_colorWarn = 0xFFFFC000;
        m.m_running = row.running;
        m.m_inAlert = row.inAlert;
        m.m_warnSeconds = row.warnSeconds;
        m.m_remaining = row.remaining;
        const DisplayChoice choice = SelectDisplay(m);
        EXPECT_EQ(choice.color, row.color) << row.warnSeconds << " " << row.remaining;
        EXPECT_EQ(choice.size, row.inAlert ? 96 : 72);  // the size never changes with the colour
    }
}

TEST(SelectDisplay, OvertimeShowsHowLongTheTimeIsOverAndFlashDimsEveryOtherSecond) {
    struct Row {
        int32_t overtime, flash, remaining;
        const char* text;
        uint32_t color;
    };
    const Row rows[] = {
        {1, 0, 0, "Up +0:00", 0xFFFF3030},
        {1, 0, -1, "Up +0:01", 0xFFFF3030},
        {1, 0, -65, "Up +1:05", 0xFFFF3030},
        {1, 0, -3600, "Up +1:00:00", 0xFFFF3030},
        {1, 0, INT32_MIN, "Up +596523:14:07", 0xFFFF3030},
        {1, 1, 0, "Up +0:00", 0xFFFF3030},
        {1, 1, -1, "Up +0:01", 0x3FFF3030},
        {1, 1, -2, "Up +0:02", 0xFFFF3030},
        {0, 1, 60, "Up 1:00", 0xFFFF3030},  // the alert's first second
        {0, 1, 59, "Up 59", 0x3FFF3030},
        {0, 0, 59, "Up 59", 0xFFFF3030},
    };
    for (const Row& row : rows) {
        CountdownModel m = Model();
        m.m_running = 1;
        m.m_inAlert = 1;
        m.m_alertSeconds = 60;
        m.m_overtime = row.overtime;
        m.m_alertFlash = row.flash;
        m.m_remaining = row.remaining;
        const DisplayChoice choice = SelectDisplay(m);
        EXPECT_EQ(choice.text, row.text);
        EXPECT_EQ(choice.color, row.color) << row.text;
        EXPECT_EQ(choice.size, 96);
    }
}
}  // namespace
