#include <gtest/gtest.h>

#include <map>

#include "sound/alert_sound.h"

using namespace tallyglass;

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

// The short path where the volume has one; else the long one whole, blanks and
// non-ASCII letters included. With the switch off or no file: not even "close all".
TEST(PlayAlertSound, OpensAndPlaysTheQuotedShortPathOrNothing) {
    const std::string spaced = "C:\\Program Files\\Clock\\alert.wav";
    const std::string foreign = "D:\\Vortr\xC3\xA4ge 2026\\\xE5\x80\x92\xE8\xAE\xA1\xE6\x97\xB6\\alert.wav";
    FakeDevice device;
    device.existing = {{spaced, "C:\\PROGRA~1\\Clock\\alert.wav"}, {foreign, foreign}};
    PlayAlertSound(false, spaced, device);
    PlayAlertSound(true, "C:\\Other\\alert.wav", device);
    EXPECT_TRUE(device.sent.empty());
    PlayAlertSound(true, spaced, device);
    PlayAlertSound(true, foreign, device);
    const std::vector<std::string> expected{"close all",
                                            "open \"C:\\PROGRA~1\\Clock\\alert.wav\"",
                                            "play \"C:\\PROGRA~1\\Clock\\alert.wav\"",
                                            "close all",
                                            "open \"" + foreign + "\"",
                                            "play \"" + foreign + "\""};
    EXPECT_EQ(device.sent, expected);
}
}  // namespace
