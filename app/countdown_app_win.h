#pragma once
#include <windows.h>

#include "framework/application_win.h"

// Starts GDI+, runs the countdown window as the one modal dialog, shuts GDI+ down.
class CountdownApp : public Application {
public:
    ULONG_PTR m_gdiplusToken = 0;

protected:
    BOOL InitInstance() override;
    int ExitInstance() override;
};
