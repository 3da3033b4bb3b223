// The floor for the clock's start-up and memory figures: the least a program can do
// to show a frame the way the clock does. One empty layered popup of the clock's
// typical size, one UpdateLayeredWindow of a zeroed DIB section, then a message loop.
#include <windows.h>

#include "bench/first_frame_signal.h"
#include "framework/handles_win.h"

using namespace tallyglass;

namespace {
constexpr int kWidth = 300;
constexpr int kHeight = 100;

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_CLOSE) {
        // The owner in wWinMain destroys the window once the loop has ended.
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool PresentEmptyFrame(HWND window) {
    WindowDc screen(nullptr);
    MemoryDc memory(CreateCompatibleDC(screen.get()));
    if (!memory) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    // A new DIB section is all zero: every pixel fully transparent.
    GdiBitmap bitmap(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return false;
    SelectedObject selection(memory.get(), bitmap.get());
    RECT rect{};
    GetWindowRect(window, &rect);
    POINT destination{rect.left, rect.top}, source{0, 0};
    SIZE size{kWidth, kHeight};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return UpdateLayeredWindow(window, screen.get(), &destination, &size, memory.get(), &source, 0, &blend,
                               ULW_ALPHA) != FALSE;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    description.lpfnWndProc = &FloorProc;
    description.hInstance = instance;
    description.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    description.lpszClassName = L"TallyglassFloor";
    const WindowClass windowClass(description);
    if (!windowClass) return 1;
    const OwnedWindow window(CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, windowClass.Name(),
                                             kFirstFrameWindowTitle, WS_POPUP, 100, 100, kWidth, kHeight, nullptr,
                                             nullptr, instance, nullptr));
    if (!window || !PresentEmptyFrame(window.get())) return 1;
    // Shown only now, like the clock, so that turning visible means "first frame presented".
    ShowWindow(window.get(), SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
