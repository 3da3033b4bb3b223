#pragma once
// Remote control as the settings ask for it, started once the clock shows.
#include <windows.h>

#include <memory>

#include "core/core_win.h"
#include "shell/remote_link_win.h"

namespace tallyglass {

// Nothing while remote control is off (nothing of it is read or opened then);
// else a link that listens, or says why it does not. Keys not yet in the file are
// made and written, so that a phone's link stays good from one start to the next.
std::unique_ptr<RemoteLink> StartRemoteLink(HWND window, CCore& core);

}  // namespace tallyglass
