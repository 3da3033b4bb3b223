#include "sound/alert_sound.h"

namespace tallyglass {

std::vector<std::string> AlertSoundCommands(const std::string& shortPath) {
    const std::string quoted = "\"" + shortPath + "\"";
    return {kCloseAllCommand, "open " + quoted, "play " + quoted};
}

void PlayAlertSound(bool enabled, const std::string& wavPath, AlertSoundDevice& device) {
    if (!enabled) return;
    if (!device.FileExists(wavPath)) return;
    // A double quote cannot be part of a Windows path; refuse rather than send a
    // command whose quoting someone else controls.
    const std::string shortPath = device.ShortPath(wavPath);
    if (shortPath.empty() || shortPath.find('"') != std::string::npos) return;
    for (const std::string& command : AlertSoundCommands(shortPath)) device.SendCommand(command);
}

}  // namespace tallyglass
