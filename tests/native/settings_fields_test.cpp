// The settings window's table held to the settings file's list of keys, its words
// to both languages, and the checks a value meets before OK is taken.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "settings/settings_fields.h"
#include "store/setting_keys.h"
#include "store/settings_store.h"

using namespace tallyglass;

namespace {

// What a value must be before OK is taken, and nothing half-applied: the first problem
// names its key, and only changed keys are written.
TEST(SettingsFields, AValueThatCannotBeTakenIsNamedAndOnlyChangedKeysAreWritten) {
    const std::vector<std::string> mine{"192.168.1.20", "127.0.0.1"};
    struct Case {
        const char* key;
        const char* value;
        SettingProblem problem;
    };
    const Case cases[] = {
        {"remoteport", "7360", SettingProblem::None},
        {"remoteport", "0", SettingProblem::PortOutOfRange},
        {"remoteport", "65536", SettingProblem::PortOutOfRange},
        {"remoteport", "80a", SettingProblem::NotANumber},
        {"remotekey", "Ab3-_xyz", SettingProblem::None},
        {"remotekey", "short12", SettingProblem::KeyTooShort},
        {"remotekey", "with blank", SettingProblem::KeyTooShort},
        {"remotebind", "", SettingProblem::None},
        {"remotebind", "192.168.1.20", SettingProblem::None},
        {"remotebind", "10.0.0.9", SettingProblem::NotThisPcsAddress},
        {"remotefeedback", "127.0.0.1:12321", SettingProblem::None},
        {"remotefeedback", "localhost:9000", SettingProblem::None},
        {"remotefeedback", "1.2.3:9000", SettingProblem::NotAHostAndPort},
        {"remotefeedback", "1.2.3.256:9000", SettingProblem::NotAHostAndPort},
        {"remotefeedback", "1.2.3.4", SettingProblem::NotAHostAndPort},
        {"clrwarn", "#FFC000", SettingProblem::None},
        {"clrwarn", "orange", SettingProblem::NotAColour},
        {"hotkeystart", "", SettingProblem::None},
        {"hotkeystart", "F2", SettingProblem::NotAHotKey},
        {"fsizenormal", " 96 ", SettingProblem::None},
        {"title", "= [anything]", SettingProblem::None},
    };
    for (const Case& c : cases) EXPECT_EQ(CheckSetting(c.key, c.value, mine), c.problem) << c.key << " " << c.value;
    EXPECT_EQ(CheckSegmentName(" Keynote "), SettingProblem::None);
    EXPECT_EQ(CheckSegmentName("  "), SettingProblem::NameEmpty);
    EXPECT_EQ(CheckSegmentName(std::string(80, 'x')), SettingProblem::None);
    EXPECT_EQ(CheckSegmentName(std::string(81, 'x')), SettingProblem::NameTooLong);
    for (const char* marked : {"a = b", "[show", "; note", "# note"})
        EXPECT_EQ(CheckSegmentName(marked), SettingProblem::NameHasMark) << marked;

    const SettingsValues before{
        {"remoteport", "7360"}, {"remotekey", "abcdefgh1"}, {"remoteviewkey", "zyxwvuts2"}, {"title", "Hall"}};
    SettingsValues after = before;
    after["title"] = "Hall B";
    after["remoteviewkey"] = "abcdefgh1";
    EXPECT_EQ(FirstProblem(after, mine).problem, SettingProblem::KeysTheSame);
    after["remoteviewkey"] = "zyxwvuts2";
    after["remoteport"] = "99999";
    const FoundProblem found = FirstProblem(after, mine);
    EXPECT_EQ(found.key, "remoteport");
    EXPECT_EQ(found.problem, SettingProblem::PortOutOfRange);
    after["remoteport"] = "7360";
    EXPECT_EQ(FirstProblem(after, mine).problem, SettingProblem::None);
    EXPECT_EQ(ChangedSettings(before, after), (std::vector<std::pair<std::string, std::string>>{{"title", "Hall B"}}));
}
}  // namespace
