#include <gtest/gtest.h>

#include <atomic>

#include "render/frame_win.h"
#include "tests/win/win_test_support.h"

using namespace tallyglass;

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    m_path = std::wstring(temp) + L"tallyglass-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(++counter);
    CreateDirectoryW(m_path.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    WIN32_FIND_DATAW found;
    const FindHandle search(FindFirstFileW((m_path + L"\\*").c_str(), &found));
    for (bool more = static_cast<bool>(search); more; more = FindNextFileW(search.get(), &found)) {
        const std::wstring full = File(found.cFileName);
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(full.c_str());
    }
    RemoveDirectoryW(m_path.c_str());
}

std::string ReadFileBytes(const std::wstring& path) {
    std::string bytes;
    return ReadWholeFile(path, 64u << 20, bytes).outcome == ReadOutcome::Read ? bytes : "<unreadable>";
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    ASSERT_TRUE(WriteFileAtomically(path, bytes));
}

FileHandle HoldOpen(const std::wstring& path) {
    return FileHandle(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

void PumpMessages(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        if (milliseconds) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

bool PumpUntil(const std::function<bool()>& condition, DWORD boundMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > boundMs) return false;
        PumpMessages(20);
    }
    return true;
}

RECT Frame::OpaqueBounds() const {
    RECT r{width, height, 0, 0};
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            if (Alpha(At(x, y))) {
                r.left = std::min<LONG>(r.left, x);
                r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1);
                r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
    return r;
}

TestClock::TestClock(const std::string& ini, bool manualTicks, uint32_t dpiOverride,
                     std::optional<CaptureSystem> captureSystem) {
    storePath = folder.File(L"TallyglassCountdown.ini");
    if (!ini.empty()) WriteFileBytes(storePath, ini);
    CountdownWndOptions options;
    options.storePath = storePath;
    options.appPath = folder.Path();
    options.manualTicks = manualTicks;
    options.dpiOverride = dpiOverride;
    options.captureSystem = std::move(captureSystem);
    options.soundObserver = [commands = soundCommands](const std::string& command) { *commands += command + "; "; };
    options.frameObserver = [this](const FramePixels& p) {
        Frame& frame = *lastFrame;
        frame.width = p.width;
        frame.height = p.height;
        frame.pixels.assign(p.pixels, p.pixels + static_cast<size_t>(p.width) * p.height);
        for (uint32_t px : frame.pixels) {  // no colour channel above its alpha
            const uint32_t a = px >> 24;
            if ((px >> 16 & 0xFF) > a || (px >> 8 & 0xFF) > a || (px & 0xFF) > a) *allPremultiplied = false;
        }
        const RECT painted = frame.OpaqueBounds();
        if (painted.right > 0) *narrowestRightGap = std::min<int>(*narrowestRightGap, frame.width - painted.right);
    };
    window = std::make_unique<CountdownWnd>(std::move(options));
    EXPECT_TRUE(window->Create());
    PumpMessages();  // the start-up's rest (hot keys, the foreground hook), posted after the first frame
}

TestClock::~TestClock() {
    window->Destroy();
    PumpMessages();
}

void TestClock::Key(UINT message, WPARAM key, LPARAM flags) {
    MSG msg{window->GetSafeHwnd(), message, key, flags, 0, {}};
    if (!window->PreTranslateMessage(&msg)) DispatchMessageW(&msg);
}

RECT TestClock::WindowRect() const {
    RECT r{};
    GetWindowRect(window->GetSafeHwnd(), &r);
    return r;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
