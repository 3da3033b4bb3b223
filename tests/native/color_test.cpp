#include <gtest/gtest.h>

#include "base/color.h"

using namespace tallyglass;

namespace {
TEST(ParseColor, AcceptedAndRejectedForms) {
    const std::pair<const char*, uint32_t> good[] = {
        {"#FFFFFF", 0xFFFFFFFF},    {"#ff3030", 0xFFFF3030},   {"#80FF3030", 0x80FF3030},
        {"  #00000a ", 0xFF00000A}, {"255,48,48", 0xFFFF3030}, {" 128 , 0 , 0 , 255 ", 0x800000FF},
        {"0,0,0", 0xFF000000},
    };
    for (auto [text, argb] : good) {
        auto color = ParseColor(text);
        ASSERT_TRUE(color.has_value()) << text;
        EXPECT_EQ(*color, argb) << text;
    }
    for (const char* bad : {"", "   ", "#", "#GG0000", "#12345", "#1234567", "#123456789", "300,0,0", "1,2",
                            "1,2,3,4,5", "-1,0,0", "1,,3", "red", "1,2,3,", "0x112233", "#12 3456"})
        EXPECT_FALSE(ParseColor(bad).has_value()) << bad;
}
}  // namespace
