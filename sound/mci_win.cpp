#include "sound/mci_win.h"

#include <mmsystem.h>

#include "framework/text_win.h"

namespace tallyglass {

void SendMciCommand(const std::wstring& command) {
    // Fire and forget: no return text, no notification; a missing sound device
    // (a headless machine) is not an error worth telling a presenter about.
    mciSendStringW(command.c_str(), nullptr, 0, nullptr);
}

bool MciSoundDevice::FileExists(const std::string& path) { return m_core.isFileExist(Widen(path)); }

std::string MciSoundDevice::ShortPath(const std::string& path) { return Narrow(m_core.getPathShort(Widen(path))); }

void MciSoundDevice::SendCommand(const std::string& command) {
    if (m_observer) return m_observer(command);
    SendMciCommand(Widen(command));
}

}  // namespace tallyglass
