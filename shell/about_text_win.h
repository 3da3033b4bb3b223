#pragma once
// What About shows below the product's lines.
#include <string>
#include <vector>

#include "clock/hot_key_table.h"
#include "shell/capture_exclusion_win.h"
#include "shell/remote_link_win.h"
#include "store/run_of_show.h"

namespace tallyglass {

// The keys, hot keys and command line; then, where they apply, capture hiding,
// the run of show, the slide show (slides: its line, empty while off) and remote control
// (remote: null while it is off).
std::wstring AboutText(const std::vector<HotKeyStatus>& hotKeys, CaptureExclusion capture, const RunOfShow& show,
                       const std::string& slides, const RemoteLink* remote);

}  // namespace tallyglass
