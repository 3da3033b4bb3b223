#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/color.h"
#include "core/settings_store.h"
#include "countdown/settings_binding.h"

namespace {
// Settings kept in memory; records every key written, in order.
class RecordingConfig : public ConfigAccess {
public:
    explicit RecordingConfig(std::map<std::string, std::string> values) : m_values(std::move(values)) {}
    bool getConfigB(const char* key) const override { return Raw(key) == "1"; }
    int32_t getConfigInt(const char* key) const override { return std::stoi(Raw(key)); }
    std::string getConfigStr(const char* key) const override { return Raw(key); }
    uint32_t getColor(const std::string& text, const char*) const override { return ParseColor(text).value_or(7); }
    void saveConfigB(const char* key, bool value) override { writes.push_back(key + std::string(value ? "=1" : "=0")); }
    void saveConfigInt(const char* key, int32_t value) override {
        writes.push_back(key + ("=" + std::to_string(value)));
    }

    std::vector<std::string> writes;

private:
    std::string Raw(const char* key) const {
        auto found = m_values.find(key);
        return found == m_values.end() ? "0" : found->second;
    }
    std::map<std::string, std::string> m_values;
};

TEST(SettingsBinding, EveryKeyOfTheStoreFeedsAFieldInTheStoresOrder) {
    ASSERT_EQ(SettingBindings().size(), SettingKeys().size());
    for (size_t i = 0; i < SettingKeys().size(); ++i)
        EXPECT_STREQ(SettingBindings()[i].key, SettingKeys()[i].name) << i;
}

TEST(SettingsBinding, ReadsEveryFieldWithItsCorrection) {
    RecordingConfig config({{"nobg", "1"},
                            {"wavalert", "0"},
                            {"alertcenter", "1"},
                            {"fontname", "Serif"},
                            {"fsizenormal", "10"},
                            {"fsizealert", "130"},
                            {"fsizetitle", "-4"},
                            {"clrnormal", "#102030"},
                            {"clralert", "1,2,3,4"},
                            {"djsseconds", "-5"},
                            {"alertseconds", "0"},
                            {"alertstr", "Stop"},
                            {"title", "Keynote"},
                            {"posleft", "-1200"},
                            {"postop", "7"}});
    CountdownModel model;
    ReadSettings(model, config);
    EXPECT_EQ(model.m_noBackground, 1);
    EXPECT_EQ(model.m_alertSound, 0);
    EXPECT_EQ(model.m_alertCenter, 1);
    EXPECT_EQ(model.m_fontName, "Serif");
    EXPECT_EQ(model.m_sizeNormal, 20);  // raised to the smallest readable size
    EXPECT_EQ(model.m_sizeAlert, 130);
    EXPECT_EQ(model.m_sizeTitle, 20);
    EXPECT_EQ(model.m_colorNormal, 0xFF102030u);
    EXPECT_EQ(model.m_colorAlert, 0x01020304u);
    EXPECT_EQ(model.m_countdownSeconds, 10);  // a length that never ends becomes 10 s
    EXPECT_EQ(model.m_alertSeconds, 10);
    EXPECT_EQ(model.m_alertText, "Stop");
    EXPECT_EQ(model.m_titleText, "Keynote");
    EXPECT_EQ(model.m_posLeft, -1200);  // positions are never corrected: monitors left of the primary
    EXPECT_EQ(model.m_posTop, 7);
    EXPECT_EQ(config.writes.size(), 0u);
}

TEST(SettingsBinding, WritesTheNineKeysAndThePositionOnlyWhileMoreThanTheAlertRemains) {
    const std::vector<std::string> always = {"nobg=0",        "wavalert=1",    "alertcenter=0",  "fsizenormal=50",
                                             "fsizealert=60", "djsseconds=30", "alertseconds=10"};
    struct Case {
        const char* name;
        int32_t remaining;
        bool position;
    };
    for (const Case& c : {Case{"more than the alert", 11, true}, Case{"exactly the alert", 10, false},
                          Case{"less than the alert", 3, false}, Case{"below zero", -4, false}}) {
        CountdownModel model;
        model.m_noBackground = 0;
        model.m_alertSound = 5;  // any non-zero value is on
        model.m_alertCenter = 0;
        model.m_sizeNormal = 50;
        model.m_sizeAlert = 60;
        model.m_countdownSeconds = 30;
        model.m_alertSeconds = 10;
        model.m_remaining = c.remaining;
        model.m_posLeft = -20;
        model.m_posTop = 40;
        RecordingConfig config({});
        WriteSettings(model, config);
        std::vector<std::string> expected;
        if (c.position) expected = {"posleft=-20", "postop=40"};
        expected.insert(expected.end(), always.begin(), always.end());
        EXPECT_EQ(config.writes, expected) << c.name;
        EXPECT_EQ(PositionIsStored(model), c.position) << c.name;
    }
}
}  // namespace
