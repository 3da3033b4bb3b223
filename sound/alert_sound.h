#pragma once
// What the alert sound sends to the multimedia control interface, and when.
#include <string>
#include <vector>

namespace tallyglass {

class AlertSoundDevice {
public:
    virtual bool FileExists(const std::string& path) = 0;
    // The system's short (8.3) form of the path; the long path where the volume
    // keeps no short names.
    virtual std::string ShortPath(const std::string& path) = 0;
    virtual void SendCommand(const std::string& command) = 0;

protected:
    ~AlertSoundDevice() = default;
};

// "close all" stops an alert still playing; the path is quoted because a short
// path is not guaranteed to be free of blanks.
std::vector<std::string> AlertSoundCommands(const std::string& shortPath);

// Plays the file when the switch is on and the file exists; otherwise sends nothing.
void PlayAlertSound(bool enabled, const std::string& wavPath, AlertSoundDevice& device);

constexpr const char* kCloseAllCommand = "close all";
constexpr const char* kAlertWavName = "alert.wav";
constexpr const char* kCueWavName = "cue.wav";

}  // namespace tallyglass
