#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/color.h"
#include "clock/model_start.h"
#include "clock/settings_apply.h"
#include "clock/settings_binding.h"
#include "store/setting_keys.h"
#include "store/settings_store.h"

using namespace tallyglass;

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
    // The interface language is the core services' to read, before any field; the
    // remote settings are the network side's, read once when it starts.
    std::vector<std::string> clockKeys;
    for (const auto& key : SettingKeys()) {
        const std::string name = key.name;
        if (name != setting_keys::kLanguage && name.rfind("remote", 0) != 0) clockKeys.push_back(name);
    }
    ASSERT_EQ(SettingBindings().size(), clockKeys.size());
    for (size_t i = 0; i < clockKeys.size(); ++i) EXPECT_EQ(SettingBindings()[i].key, clockKeys[i]) << i;
}

// Sizes are raised to the smallest readable one, a length that never ends becomes
// 10 s, the opacity stays within 10..100; positions (monitors left of the
// primary) and the warning threshold (0 is off) are never corrected.
TEST(SettingsBinding, ReadsEveryFieldWithItsCorrection) {
    const std::map<std::string, std::string> stored = {
        {"nobg", "1"},           {"wavalert", "0"},       {"alertcenter", "1"},  {"fontname", "Serif"},
        {"fsizenormal", "19"},   {"fsizealert", "130"},   {"fsizetitle", "-4"},  {"clrnormal", "#102030"},
        {"clralert", "1,2,3,4"}, {"djsseconds", "-5"},    {"alertseconds", "0"}, {"alertstr", "Stop"},
        {"title", "Keynote"},    {"posleft", "-1200"},    {"postop", "7"},       {"clrwarn", "#405060"},
        {"opacity", "9"},        {"hotkeystart", "Alt+S"}};
    RecordingConfig config(stored);
    CountdownModel model;
    ReadSettings(model, config);
    const std::vector<int32_t> numbers = {model.m_noBackground,     model.m_alertSound,   model.m_alertCenter,
                                          model.m_sizeNormal,       model.m_sizeAlert,    model.m_sizeTitle,
                                          model.m_countdownSeconds, model.m_alertSeconds, model.m_posLeft,
                                          model.m_posTop,           model.m_warnSeconds,  model.m_opacity};
    EXPECT_EQ(numbers, (std::vector<int32_t>{1, 0, 1, 20, 130, 20, 10, 10, -1200, 7, 0, 10}));
    EXPECT_EQ(model.m_fontName + "|" + model.m_alertText + "|" + model.m_titleText + "|" + model.m_hotKeyStart,
              "Serif|Stop|Keynote|Alt+S");
    EXPECT_EQ(model.m_colorNormal, 0xFF102030u);
    EXPECT_EQ(model.m_colorAlert, 0x01020304u);
    EXPECT_EQ(model.m_colorWarn, 0xFF405060u);
    EXPECT_EQ(config.writes.size(), 0u);

    RecordingConfig high({{"opacity", "101"}, {"warnseconds", "30"}});
    ReadSettings(model, high);
    EXPECT_EQ(model.m_opacity, 100);
    EXPECT_EQ(model.m_warnSeconds, 30);
}

TEST(SettingsBinding, WritesTheNineKeysAndThePositionOnlyWhileMoreThanTheAlertRemains) {
    CountdownModel model;
    model.m_noBackground = 0;
    model.m_alertSound = 5;  // any non-zero value is on
    model.m_alertCenter = 0;
    model.m_sizeNormal = 50;
    model.m_sizeAlert = 60;
    model.m_countdownSeconds = 30;
    model.m_alertSeconds = 10;
    model.m_posLeft = -20;
    model.m_posTop = 40;
    model.m_overtime = model.m_alertFlash = model.m_clickThrough = model.m_warnSeconds = 1;  // never written
    const std::vector<std::string> always = {"nobg=0",        "wavalert=1",    "alertcenter=0",  "fsizenormal=50",
                                             "fsizealert=60", "djsseconds=30", "alertseconds=10"};
    for (const int32_t remaining : {11, 10, 3, -4}) {  // more than the alert, exactly it, less, below zero
        model.m_remaining = remaining;
        RecordingConfig config({});
        WriteSettings(model, config);
        std::vector<std::string> expected;
        if (remaining > 10) expected = {"posleft=-20", "postop=40"};
        expected.insert(expected.end(), always.begin(), always.end());
        EXPECT_EQ(config.writes, expected) << remaining;
        EXPECT_EQ(PositionIsStored(model), remaining > 10) << remaining;
    }
}
}  // namespace

namespace {
// A run of show's first segment is the length the clock opens with, over the stored one.
TEST(ModelStart, TheShowsFirstSegmentAndTheIdleClocksTimeOfDay) {
    CountdownModel model;
    model.m_countdownSeconds = 600;
    model.m_running = model.m_inAlert = 1;
    PrepareForStart(model, {{"Welcome", 90}, {"Keynote", 1200}}, true, 14 * 3600 + 59);
    EXPECT_EQ(model.m_countdownSeconds, 90);
    EXPECT_EQ(model.m_remaining, 90);
    EXPECT_EQ(model.m_running + model.m_inAlert, 0);
    EXPECT_EQ(model.m_localMinute, -1);  // no idle clock: the time of day is not asked for
    model.m_idleClock = 1;
    PrepareForStart(model, {}, true, 14 * 3600 + 59);
    EXPECT_EQ(model.m_remaining, 90);  // without a show the length read stays
    EXPECT_EQ(model.m_localMinute, 14 * 60);
    EXPECT_EQ(model.m_clock12Hour, 1);
}
}  // namespace

namespace {
// New settings reach a running clock: only the changed keys' fields change (a text that
// does not read gives the default, as in the file), the count goes on, and the window is
// told what to set up again. An edited show keeps the segment where it still exists.
TEST(SettingsApply, ChangedKeysReachTheRunningClockAndSayWhatToSetUpAgain) {
    CountdownModel model;
    model.m_running = 1;
    model.m_remaining = 95;
    model.m_countdownSeconds = 300;
    model.m_sizeNormal = 77;
    model.m_show = {{"A", 60}, {"B", 120}, {"C", 180}};
    model.m_segment = 2;
    const WrittenKeys changed{{"ClrWarn", "#FF00FF00"}, {"warnseconds", "30"}, {"fsizealert", "ten"},
                              {"face", "elapsed"},      {"cues", "1m, 10s"},   {"hotkeystart", "Ctrl+F9"},
                              {"opacity", "5"},         {"remoteport", "7400"}};
    const EngineEffects fx = ApplySettings(model, changed, std::vector<ShowSegment>{{"A", 60}, {"D", 240}});
    EXPECT_EQ(model.m_colorWarn, 0xFF00FF00u);
    EXPECT_EQ(model.m_warnSeconds, 30);
    EXPECT_EQ(model.m_sizeAlert, 96);   // the default, as the file would give
    EXPECT_EQ(model.m_sizeNormal, 77);  // not changed, not read
    EXPECT_EQ(model.m_elapsedFace, 1);
    EXPECT_EQ(model.m_cues, (std::vector<int32_t>{60, 10}));
    EXPECT_EQ(model.m_hotKeyStart, "Ctrl+F9");
    EXPECT_EQ(model.m_opacity, 10);
    EXPECT_EQ(fx.redo, EngineEffects::kRedoHotKeys | EngineEffects::kRedoWindow | EngineEffects::kRedoRemote |
                           EngineEffects::kRedoSchedule);
    EXPECT_EQ(fx.picture, EngineEffects::Picture::LayoutInPlace);
    EXPECT_EQ(model.m_remaining, 95);  // the count goes on
    EXPECT_EQ(model.m_segment, 1);     // the third is gone: the last there is
    EXPECT_EQ(model.m_countdownSeconds, 300);
    model.m_running = 0;
    // An edited show only asks for the schedule to be watched again: a plan may have come or gone.
    EXPECT_EQ(ApplySettings(model, {}, std::vector<ShowSegment>{{"A", 60}, {"E", 45}}).redo,
              static_cast<uint32_t>(EngineEffects::kRedoSchedule));
    EXPECT_EQ(model.m_remaining, 45);  // idle: the segment's own length
    EXPECT_FALSE(ApplySettings(model, {}, std::nullopt).Changed());
}
}  // namespace
