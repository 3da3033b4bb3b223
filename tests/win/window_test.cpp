#include <gtest/gtest.h>

#include "tests/win/win_test_support.h"

using namespace tallyglass;

namespace {

TEST(CountdownWindow, CreatedFromTheTemplateAsABorderlessTopmostToolWindow) {
    TestClock clock(TestIni());
    HWND hwnd = clock->GetSafeHwnd();
    ASSERT_NE(hwnd, nullptr);
    const DWORD style = GetWindowLongW(hwnd, GWL_STYLE), exStyle = GetWindowLongW(hwnd, GWL_EXSTYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU), DWORD{WS_POPUP | WS_VISIBLE});
    EXPECT_EQ(GetWindow(hwnd, GW_CHILD), nullptr);  // the template has no controls
    // Topmost whether the system honoured DS_SYSMODAL or not; layered by the first frame.
    const DWORD tool = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED;
    EXPECT_EQ(exStyle & (tool | WS_EX_APPWINDOW), tool);
    wchar_t title[64] = {};
    GetWindowTextW(hwnd, title, 64);
    EXPECT_STREQ(title, L"TallyglassPPT\u5012\u8BA1\u65F6");
    EXPECT_EQ(clock->Presenter()->Blend().AlphaFormat, AC_SRC_ALPHA);
}

TEST(CountdownWindow, EndSessionStoresOnceAndAFailedSaveIsTriedAgainAtDestruction) {
    auto moveTo = [](TestClock& clock, int left) {
        SetWindowPos(clock->GetSafeHwnd(), nullptr, left, 45, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    };
    {
        TestClock clock(TestIni());
        moveTo(clock, 111);
        SendMessageW(clock->GetSafeHwnd(), WM_ENDSESSION, TRUE, 0);
        EXPECT_NE(ReadFileBytes(clock.storePath).find("posleft = 111"), std::string::npos);
        moveTo(clock, 222);  // after the session ended: not written a second time
        clock->Destroy();
        EXPECT_EQ(ReadFileBytes(clock.storePath).find("posleft = 222"), std::string::npos);
    }
    TestClock clock(TestIni());
    moveTo(clock, 333);
    {
        const FileHandle held = HoldOpen(clock.storePath);  // by another program while the session ends
        ASSERT_TRUE(held);
        SendMessageW(clock->GetSafeHwnd(), WM_ENDSESSION, TRUE, 0);
    }
    EXPECT_EQ(ReadFileBytes(clock.storePath).find("posleft = 333"), std::string::npos);
    clock->Destroy();
    EXPECT_NE(ReadFileBytes(clock.storePath).find("posleft = 333"), std::string::npos);
}

TEST(CountdownWindow, MissingLayeredEntryPointIsReportedAndCreationFails) {
    TempFolder folder;
    CountdownWndOptions options;
    options.storePath = folder.File(L"x.ini");
    options.user32Name = L"kernel32.dll";  // loads, but has no UpdateLayeredWindow
    bool reported = false;
    options.fatalError = [&] { reported = true; };
    CountdownWnd window(std::move(options));
    EXPECT_FALSE(window.Create());
    EXPECT_TRUE(reported);
    EXPECT_EQ(GetFileAttributesW(folder.File(L"x.ini").c_str()), INVALID_FILE_ATTRIBUTES);  // nothing read or written
}
}  // namespace
