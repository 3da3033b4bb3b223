#include <gtest/gtest.h>

#include "render/display_text.h"

namespace {
struct TimeCase {
    int32_t seconds;
    const char* text;
};

TEST(FormatTimeText, FollowsTheThreeFormats) {
    const TimeCase cases[] = {
        {0, "0"},          {-1, "0"},         {INT32_MIN, "0"},  {1, "1"},
        {59, "59"},        {60, "1:00"},      {65, "1:05"},      {599, "9:59"},
        {600, "10:00"},    {3599, "59:59"},   {3600, "1:00:00"}, {3661, "1:01:01"},
        {36000, "10:00:00"}, {360000, "100:00:00"}, {INT32_MAX, "596523:14:07"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatTimeText(c.seconds, false, "x"), c.text) << c.seconds;
}

TEST(FormatTimeText, AlertPrefixOnlyOnPositiveTimes) {
    EXPECT_EQ(FormatTimeText(65, true, "Time up"), "Time up 1:05");  // blanks inside stay blanks
    EXPECT_EQ(FormatTimeText(5, true, ""), " 5");
    EXPECT_EQ(FormatTimeText(0, true, "Time up"), "0");
    EXPECT_EQ(FormatTimeText(-7, true, "Time up"), "0");
    EXPECT_EQ(FormatTimeText(3600, true, "\xE6\x97\xB6"), "\xE6\x97\xB6 1:00:00");
}

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
        {0, 0, "Talk", "Talk", 48, 0xFFFF3030},    // idle title, whatever the time
        {0, 1, "Talk", "Talk", 48, 0xFFFF3030},    // row 1 ignores the alert flag
        {0, 0, "   ", "   ", 48, 0xFFFF3030},     // a blank title is still a title
        {0, 0, "", "1:05", 72, 0xFFFFFFFF},        // no title: the time text
        {0, 1, "", "Up 1:05", 96, 0xFFFF3030},
        {1, 0, "Talk", "1:05", 72, 0xFFFFFFFF},    // running never shows the title
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
}  // namespace
