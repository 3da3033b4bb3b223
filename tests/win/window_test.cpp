#include <gtest/gtest.h>

#include "tests/win/win_test_support.h"

namespace {
const std::string kIni = std::string("[settings]\nfontname=") + kTestFont + "\n";

TEST(CountdownWindow, CreatedFromTheTemplateAsABorderlessTopmostToolWindow) {
    TestClock clock(kIni);
    HWND hwnd = clock->GetSafeHwnd();
    ASSERT_NE(hwnd, nullptr);
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(hwnd, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_SYSMENU);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);  // whether the system honoured DS_SYSMODAL or not
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
    EXPECT_TRUE(exStyle & WS_EX_LAYERED);  // set by the first frame
    EXPECT_EQ(clock->Presenter()->FrameInProgress(), false);
    wchar_t title[64] = {};
    GetWindowTextW(hwnd, title, 64);
    EXPECT_STREQ(title, L"TallyglassPPT\u5012\u8BA1\u65F6");
    EXPECT_EQ(clock->Presenter()->Blend().SourceConstantAlpha, 253);
    EXPECT_EQ(clock->Presenter()->Blend().AlphaFormat, AC_SRC_ALPHA);
}

TEST(CountdownWindow, EndSessionStoresOnceAndAFailedSaveIsTriedAgainAtDestruction) {
    auto moveTo = [](TestClock& clock, int left) {
        SetWindowPos(clock->GetSafeHwnd(), nullptr, left, 45, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    };
    {
        TestClock clock(kIni);
        moveTo(clock, 111);
        SendMessageW(clock->GetSafeHwnd(), WM_ENDSESSION, TRUE, 0);
        EXPECT_NE(ReadFileBytes(clock.storePath).find("posleft = 111"), std::string::npos);
        moveTo(clock, 222);  // after the session ended: not written a second time
        clock->Destroy();
        EXPECT_EQ(ReadFileBytes(clock.storePath).find("posleft = 222"), std::string::npos);
    }
    TestClock clock(kIni);
    moveTo(clock, 333);
    {
        // Another program holds the file open without sharing while the session ends.
        FileHandle held(CreateFileW(clock.storePath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
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
