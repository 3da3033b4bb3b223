#pragma once
// The process's one application object: InitInstance does the work, ExitInstance
// gives the exit code. No message loop of its own runs unless InitInstance asks.
#include <windows.h>

namespace tallyglass {

class Application {
public:
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    int Run(HINSTANCE instance, int showCommand);
    static Application* Current() { return s_current; }
    HINSTANCE Instance() const { return m_instance; }

protected:
    // TRUE runs a message loop until WM_QUIT; FALSE goes straight to ExitInstance.
    virtual BOOL InitInstance() = 0;
    virtual int ExitInstance() { return m_exitCode; }
    int m_exitCode = 0;
    int m_showCommand = SW_SHOWDEFAULT;

private:
    static Application* s_current;
    HINSTANCE m_instance = nullptr;
};

}  // namespace tallyglass
