#pragma once
#include <windows.h>

#include <optional>

#include "framework/application_win.h"
#include "render/frame_win.h"

// Starts GDI+, runs the countdown window as the one modal dialog, shuts GDI+ down.
class CountdownApp : public Application {
protected:
    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    std::optional<GdiplusSession> m_gdiplus;
};
