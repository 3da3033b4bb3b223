#include "app/countdown_app_win.h"

#include <gdiplus.h>

#include "countdown/countdown_wnd_win.h"

BOOL CountdownApp::InitInstance() {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr);
    {
        CountdownWnd window(nullptr);
        window.DoModal();
    }
    return FALSE;  // the modal run was the whole program
}

int CountdownApp::ExitInstance() {
    Gdiplus::GdiplusShutdown(m_gdiplusToken);
    return Application::ExitInstance();
}

namespace {
CountdownApp theApp;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    return theApp.Run(instance, showCommand);
}
