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
