#include "framework/application_win.h"

namespace tallyglass {

Application* Application::s_current = nullptr;

Application::Application() { s_current = this; }

Application::~Application() {
    if (s_current == this) s_current = nullptr;
}

int Application::Run(HINSTANCE instance, int showCommand) {
    m_instance = instance;
    m_showCommand = showCommand;
    if (InitInstance()) {
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        m_exitCode = static_cast<int>(msg.wParam);
    }
    return ExitInstance();
}

}  // namespace tallyglass
