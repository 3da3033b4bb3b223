#pragma once
// The alert sound device on Windows: file checks and short paths from the core
// services, commands through the multimedia control interface.
#include "core/core_win.h"
#include "sound/alert_sound.h"

class MciSoundDevice : public AlertSoundDevice {
public:
    explicit MciSoundDevice(const CCore& core) : m_core(core) {}
    bool FileExists(const std::string& path) override;
    std::string ShortPath(const std::string& path) override;
    void SendCommand(const std::string& command) override;

private:
    const CCore& m_core;
};

void SendMciCommand(const std::wstring& command);
