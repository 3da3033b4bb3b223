#include <gtest/gtest.h>

#include <cstring>

#include "base/product_record.h"

using namespace tallyglass;

namespace {
TEST(ProductRecord, EncodesHexGroupsEndedBy001EAndRoundTripsAllFourFields) {
    char field[51];
    EncodeSoftField("A\xE6\x97\xB6", field, sizeof field);  // "A" and U+65F6
    EXPECT_STREQ(field, "004165F6001E");
    EXPECT_EQ(DecodeSoftField(field, sizeof field), "A\xE6\x97\xB6");

    tagSoft record;
    std::memset(&record, 0x7F, sizeof record);
    FillProductRecord(record,
                      {"1.0.0", "Tallyglass", "Countdown", "TallyglassPPT\xE5\x80\x92\xE8\xAE\xA1\xE6\x97\xB6"});
    const ProductTexts back = ReadProductRecord(record);
    EXPECT_EQ(back.version, "1.0.0");
    EXPECT_EQ(back.shortName, "Tallyglass");
    EXPECT_EQ(back.kind, "Countdown");
    EXPECT_EQ(back.title, "TallyglassPPT\xE5\x80\x92\xE8\xAE\xA1\xE6\x97\xB6");
}

}  // namespace
