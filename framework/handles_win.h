#pragma once
// One move-only owner per release function. Each counts itself in a process-wide
// tally so that a test can see a handle that outlives its frame.
#include <windows.h>

#include <utility>

namespace tallyglass {

namespace handles {
// Handles currently owned by the types below.
long LiveCount();
void CountAcquired();
void CountReleased();
}  // namespace handles

template <typename Handle, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : m_handle(handle) {
        if (m_handle) handles::CountAcquired();
    }
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, Handle{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset();
            m_handle = std::exchange(other.m_handle, Handle{});
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const { return m_handle; }
    explicit operator bool() const { return static_cast<bool>(m_handle); }
    void reset() {
        if (m_handle) {
            Traits::Release(m_handle);
            handles::CountReleased();
            m_handle = Handle{};
        }
    }

private:
    Handle m_handle{};
};

struct DeleteDcTraits {
    static void Release(HDC dc) { DeleteDC(dc); }
};
struct DeleteObjectTraits {
    static void Release(HGDIOBJ object) { DeleteObject(object); }
};
struct DestroyMenuTraits {
    static void Release(HMENU menu) { DestroyMenu(menu); }
};
struct CloseHandleTraits {
    static void Release(HANDLE handle) { CloseHandle(handle); }
};
struct DestroyWindowTraits {
    static void Release(HWND window) { DestroyWindow(window); }
};

struct FreeLibraryTraits {
    static void Release(HMODULE module) { FreeLibrary(module); }
};

using MemoryDc = UniqueHandle<HDC, DeleteDcTraits>;
using GdiBitmap = UniqueHandle<HBITMAP, DeleteObjectTraits>;
using GdiFont = UniqueHandle<HFONT, DeleteObjectTraits>;
using Menu = UniqueHandle<HMENU, DestroyMenuTraits>;
using LoadedModule = UniqueHandle<HMODULE, FreeLibraryTraits>;
// A kernel object that is null when absent, such as a process or thread.
using KernelHandle = UniqueHandle<HANDLE, CloseHandleTraits>;
using OwnedWindow = UniqueHandle<HWND, DestroyWindowTraits>;

// RegisterClassExW / UnregisterClassW. Declare it before the windows of the class:
// unregistering fails while one still exists.
class WindowClass {
public:
    explicit WindowClass(const WNDCLASSEXW& description)
        : m_instance(description.hInstance), m_atom(RegisterClassExW(&description)) {
        if (m_atom) handles::CountAcquired();
    }
    WindowClass(WindowClass&& other) noexcept
        : m_instance(other.m_instance), m_atom(std::exchange(other.m_atom, ATOM{})) {}
    WindowClass& operator=(WindowClass&&) = delete;
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;
    ~WindowClass() {
        if (m_atom) {
            UnregisterClassW(MAKEINTATOM(m_atom), m_instance);
            handles::CountReleased();
        }
    }
    const wchar_t* Name() const { return MAKEINTATOM(m_atom); }
    explicit operator bool() const { return m_atom != 0; }

private:
    HINSTANCE m_instance;
    ATOM m_atom;
};

struct FindCloseTraits {
    static void Release(HANDLE find) { FindClose(find); }
};

// A handle whose "none" is INVALID_HANDLE_VALUE (a file, a directory listing), held as null.
template <typename Traits>
class InvalidIsNone : public UniqueHandle<HANDLE, Traits> {
public:
    explicit InvalidIsNone(HANDLE handle)
        : UniqueHandle<HANDLE, Traits>(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
};
using FileHandle = InvalidIsNone<CloseHandleTraits>;
// A directory listing from FindFirstFileW.
using FindHandle = InvalidIsNone<FindCloseTraits>;

struct UnhookWinEventTraits {
    static void Release(HWINEVENTHOOK hook) { UnhookWinEvent(hook); }
};
// SetWinEventHook / UnhookWinEvent.
using WinEventHook = UniqueHandle<HWINEVENTHOOK, UnhookWinEventTraits>;

struct DeleteTimerQueueTimerTraits {
    // INVALID_HANDLE_VALUE: returns once a callback under way has finished.
    static void Release(HANDLE timer) { DeleteTimerQueueTimer(nullptr, timer, INVALID_HANDLE_VALUE); }
};
// CreateTimerQueueTimer (on the default queue) / DeleteTimerQueueTimer.
using QueueTimer = UniqueHandle<HANDLE, DeleteTimerQueueTimerTraits>;

struct RegCloseKeyTraits {
    static void Release(HKEY key) { RegCloseKey(key); }
};
// RegCreateKeyExW or RegOpenKeyExW / RegCloseKey.
using RegistryKey = UniqueHandle<HKEY, RegCloseKeyTraits>;

// SetTimer's id with the window it belongs to, as KillTimer needs both.
struct WindowTimerId {
    HWND window = nullptr;
    UINT_PTR id = 0;
    explicit operator bool() const { return id != 0; }
};
struct KillTimerTraits {
    static void Release(WindowTimerId timer) { KillTimer(timer.window, timer.id); }
};
// A window's WM_TIMER, from SetTimer to KillTimer.
using WindowTimer = UniqueHandle<WindowTimerId, KillTimerTraits>;

// A window's device context from GetDC, released with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : m_window(window), m_dc(GetDC(window)) {
        if (m_dc) handles::CountAcquired();
    }
    WindowDc(WindowDc&& other) noexcept : m_window(other.m_window), m_dc(std::exchange(other.m_dc, nullptr)) {}
    WindowDc& operator=(WindowDc&&) = delete;
    WindowDc(const WindowDc&) = delete;
    ~WindowDc() {
        if (m_dc) {
            ReleaseDC(m_window, m_dc);
            handles::CountReleased();
        }
    }
    HDC get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// Selects an object into a DC and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (m_previous && m_previous != HGDI_ERROR) SelectObject(m_dc, m_previous);
    }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// BeginPaint / EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND window) : m_window(window) { BeginPaint(window, &m_paint); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc() { EndPaint(m_window, &m_paint); }
    HDC get() const { return m_paint.hdc; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
};

}  // namespace tallyglass
