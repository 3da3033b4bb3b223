#include "framework/clipboard_win.h"

#include <cstring>
#include <utility>

namespace tallyglass {

namespace {
// OpenClipboard / CloseClipboard.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : m_open(OpenClipboard(owner) != FALSE) {}
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    ~OpenedClipboard() {
        if (m_open) CloseClipboard();
    }
    bool Open() const { return m_open; }

private:
    bool m_open;
};

// GlobalAlloc / GlobalFree, unless the clipboard took it.
class MovableMemory {
public:
    explicit MovableMemory(size_t bytes) : m_memory(GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
    MovableMemory(const MovableMemory&) = delete;
    MovableMemory& operator=(const MovableMemory&) = delete;
    ~MovableMemory() {
        if (m_memory) GlobalFree(m_memory);
    }
    HGLOBAL get() const { return m_memory; }
    HGLOBAL release() { return std::exchange(m_memory, nullptr); }

private:
    HGLOBAL m_memory;
};
}  // namespace

bool CopyTextToClipboard(HWND owner, const std::wstring& text) {
    const OpenedClipboard clipboard(owner);
    if (!clipboard.Open() || !EmptyClipboard()) return false;
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    MovableMemory memory(bytes);
    void* target = memory.get() ? GlobalLock(memory.get()) : nullptr;
    if (!target) return false;
    std::memcpy(target, text.c_str(), bytes);
    GlobalUnlock(memory.get());
    if (!SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
    memory.release();  // the clipboard owns it now
    return true;
}

}  // namespace tallyglass
