#pragma once
#include <windows.h>

#include <optional>

#include "app/start_steps_win.h"
#include "framework/application_win.h"
#include "render/frame_win.h"

namespace tallyglass {

// Starts GDI+, runs the countdown window as the one modal dialog, shuts GDI+ down.
class CountdownApp : public Application {
protected:
    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    StartSteps m_startSteps;
    std::optional<GdiplusSession> m_gdiplus;
};

}  // namespace tallyglass
