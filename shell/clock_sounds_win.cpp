#include "shell/clock_sounds_win.h"

#include <utility>

#include "framework/text_win.h"
#include "sound/mci_win.h"

namespace tallyglass {

ClockSounds::ClockSounds(std::wstring appPath, std::function<void(const std::string&)> observer)
    : m_appPath(std::move(appPath)), m_observer(std::move(observer)) {
    // Without the program's folder there is no sound to look for (never a drive's root).
    if (!m_appPath.empty()) m_alertWavPath = m_appPath + Widen(kAlertWavName);
}

void ClockSounds::PlayAlert(const CCore& core, bool enabled) const {
    MciSoundDevice device(core, m_observer);
    PlayAlertSound(enabled, Narrow(m_alertWavPath), device);
}

void ClockSounds::PlayCue(const CCore& core) const {
    if (m_appPath.empty()) return;
    MciSoundDevice device(core, m_observer);
    const std::string cue = Narrow(m_appPath + Widen(kCueWavName));
    PlayAlertSound(true, device.FileExists(cue) ? cue : Narrow(m_alertWavPath), device);
}

}  // namespace tallyglass
