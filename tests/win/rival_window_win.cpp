// A rival for the clock's place on top: a full-screen topmost window of another
// program that takes the focus, as a slide show does, and goes after a while.
// Usage: rival_window <seconds> [--announce]: --announce raises the foreground
// event itself, as Windows does on every foreground change and Wine does not,
// once the window has settled (Wine may still restack it while it activates).
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {
constexpr UINT_PTR kEndTimer = 1, kAnnounceTimer = 2;

LRESULT CALLBACK RivalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_TIMER && wParam == kAnnounceTimer) {
        KillTimer(window, kAnnounceTimer);
        NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, window, OBJID_WINDOW, CHILDID_SELF);
    } else if (message == WM_TIMER) {
        PostQuitMessage(0);
    }
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
    if (argc > 2 && std::wstring(argv[2]) == L"--announce") SetTimer(rival, kAnnounceTimer, 500, nullptr);
    SetTimer(rival, kEndTimer, seconds * 1000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    DestroyWindow(rival);
    return 0;
}
