#pragma once
#include <windows.h>

#include "app/start_steps_win.h"
#include "framework/application_win.h"

namespace tallyglass {

// Runs the countdown window as the one modal dialog, or hands the command line's orders to a running clock.
class CountdownApp : public Application {
protected:
    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    StartSteps m_startSteps;
};

}  // namespace tallyglass
