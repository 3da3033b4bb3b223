#pragma once
// The clock's two sounds beside the exe: the alert's chime, and a cue's knock
// (the chime when cue.wav is missing, so that a cue that was asked for is heard).
#include <functional>
#include <string>

#include "core/core_win.h"

namespace tallyglass {

class ClockSounds {
public:
    // appPath: the program's folder with its trailing backslash; empty: no sound is looked for.
    // observer: a test seam that takes the sound commands instead of the system.
    ClockSounds(std::wstring appPath, std::function<void(const std::string&)> observer);

    void PlayAlert(const CCore& core, bool enabled) const;
    void PlayCue(const CCore& core) const;
    const std::wstring& AlertWavPath() const { return m_alertWavPath; }

private:
    std::wstring m_appPath;
    std::wstring m_alertWavPath;
    std::function<void(const std::string&)> m_observer;
};

}  // namespace tallyglass
