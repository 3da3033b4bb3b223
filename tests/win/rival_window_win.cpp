// A rival for the clock's place on top: a full-screen topmost window of another
// program that takes the focus, as a slide show does, and goes after a while.
// Usage: rival_window <seconds> [--announce]: --announce raises the foreground
// event itself, as Windows does on every foreground change and Wine does not.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {
LRESULT CALLBACK RivalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_TIMER) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    const UINT seconds = argc > 1 ? static_cast<UINT>(_wtoi(argv[1])) : 10;
    WNDCLASSEXW rivalClass{};
    rivalClass.cbSize = sizeof rivalClass;
    rivalClass.lpfnWndProc = &RivalProc;
    rivalClass.hInstance = GetModuleHandleW(nullptr);
    rivalClass.lpszClassName = L"TallyglassRival";
    rivalClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RegisterClassExW(&rivalClass);
    HWND rival = CreateWindowExW(WS_EX_TOPMOST, L"TallyglassRival", L"Rival slide show", WS_POPUP | WS_VISIBLE, 0, 0,
                                 GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                 rivalClass.hInstance, nullptr);
    if (!rival) return 1;
    SetForegroundWindow(rival);
    SetWindowPos(rival, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (argc > 2 && std::wstring(argv[2]) == L"--announce")
        NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, rival, OBJID_WINDOW, CHILDID_SELF);
    SetTimer(rival, 1, seconds * 1000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    DestroyWindow(rival);
    return 0;
}
