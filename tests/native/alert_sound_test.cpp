#include <gtest/gtest.h>

#include <map>

#include "sound/alert_sound.h"

namespace {
class FakeDevice : public AlertSoundDevice {
public:
    bool FileExists(const std::string& path) override { return existing.count(path) != 0; }
    std::string ShortPath(const std::string& path) override {
        auto it = existing.find(path);
        return it == existing.end() ? path : it->second;
    }
    void SendCommand(const std::string& command) override { sent.push_back(command); }
    std::map<std::string, std::string> existing;  // long path -> short path
    std::vector<std::string> sent;
};

TEST(PlayAlertSound, GuardsSendNothing) {
    FakeDevice device;
    device.existing["C:\\Clock\\alert.wav"] = "C:\\Clock\\alert.wav";
    PlayAlertSound(false, "C:\\Clock\\alert.wav", device);
    EXPECT_TRUE(device.sent.empty());  // switch off: not even "close all"
    PlayAlertSound(true, "C:\\Other\\alert.wav", device);
    EXPECT_TRUE(device.sent.empty());  // no file
}

TEST(PlayAlertSound, QuotesTheShortPath) {
    FakeDevice device;
    device.existing["C:\\Program Files\\Clock\\alert.wav"] = "C:\\PROGRA~1\\Clock\\alert.wav";
    PlayAlertSound(true, "C:\\Program Files\\Clock\\alert.wav", device);
    const std::vector<std::string> expected{"close all", "open \"C:\\PROGRA~1\\Clock\\alert.wav\"",
                                            "play \"C:\\PROGRA~1\\Clock\\alert.wav\""};
    EXPECT_EQ(device.sent, expected);
}

TEST(PlayAlertSound, LongPathsWithBlanksAndNonAsciiLettersStayWhole) {
    FakeDevice device;
    const std::string path = "D:\\Vortr\xC3\xA4ge 2026\\\xE5\x80\x92\xE8\xAE\xA1\xE6\x97\xB6\\alert.wav";
    device.existing[path] = path;  // a volume without short names
    PlayAlertSound(true, path, device);
    ASSERT_EQ(device.sent.size(), 3u);
    EXPECT_EQ(device.sent[1], "open \"" + path + "\"");
    EXPECT_EQ(device.sent[2], "play \"" + path + "\"");
}
}  // namespace
