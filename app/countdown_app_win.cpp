#include "app/countdown_app_win.h"

#include "countdown/countdown_wnd_win.h"

BOOL CountdownApp::InitInstance() {
    m_gdiplus.emplace();
    {
        CountdownWnd window;
        window.DoModal();
    }
    return FALSE;  // the modal run was the whole program
}

int CountdownApp::ExitInstance() {
    m_gdiplus.reset();
    return Application::ExitInstance();
}

namespace {
CountdownApp theApp;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) { return theApp.Run(instance, showCommand); }
