#pragma once
// How a clock window is made: where its files are, and the seams tests and benchmarks use.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "command/clock_command.h"
#include "render/layered_window_win.h"
#include "shell/capture_exclusion_win.h"

namespace tallyglass {

struct CountdownWndOptions {
    std::wstring storePath;  // empty: the usual place
    std::wstring appPath;    // empty: the exe's folder
    // Tests tick by hand: no multimedia timer is armed and ids are counted up.
    bool manualTicks = false;
    const wchar_t* user32Name = L"User32.DLL";
    // Test seam: sees every frame's pixels before they go to the screen.
    LayeredPresenter::Observer frameObserver;
    // Applied once the clock is laid out, as if typed (from the command line).
    std::vector<tallyglass::ClockCommand> startCommands;
    // What to do when the layered-window entry point is missing. The default
    // shows "User32.dll ERROR!" and exits with a failure status.
    std::function<void()> fatalError;
    // Test seams: a DPI instead of the monitor's (0: ask the system), and the
    // system's screen-capture calls.
    uint32_t dpiOverride = 0;
    std::optional<CaptureSystem> captureSystem;
    // Test seam: takes the sound commands instead of the system.
    std::function<void(const std::string& command)> soundObserver;
    // Bench seam: told as each step of the start-up ends (see app/start_steps_win.h).
    std::function<void(const char* step)> startStep;
};

}  // namespace tallyglass
