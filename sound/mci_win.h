#pragma once
// The alert sound device on Windows: file checks and short paths from the core
// services, commands through the multimedia control interface.
#include <functional>
#include <string>

#include "core/core_win.h"
#include "sound/alert_sound.h"

namespace tallyglass {

class MciSoundDevice : public AlertSoundDevice {
public:
    // observer: a test seam that takes the commands instead of the system.
    explicit MciSoundDevice(const CCore& core, std::function<void(const std::string&)> observer = {})
        : m_core(core), m_observer(std::move(observer)) {}
    bool FileExists(const std::string& path) override;
    std::string ShortPath(const std::string& path) override;
    void SendCommand(const std::string& command) override;

private:
    const CCore& m_core;
    std::function<void(const std::string&)> m_observer;
};

void SendMciCommand(const std::wstring& command);

}  // namespace tallyglass
