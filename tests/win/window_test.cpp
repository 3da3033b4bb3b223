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
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);  // from DS_SYSMODAL
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
    EXPECT_TRUE(exStyle & WS_EX_LAYERED);  // set by the first frame
    EXPECT_EQ(clock->m_memDC, nullptr);
    wchar_t title[64] = {};
    GetWindowTextW(hwnd, title, 64);
    EXPECT_STREQ(title, L"TallyglassPPT\u5012\u8BA1\u65F6");
    EXPECT_EQ(clock->m_blend.SourceConstantAlpha, 253);
    EXPECT_EQ(clock->m_blend.AlphaFormat, AC_SRC_ALPHA);
}

TEST(CountdownWindow, EndSessionStoresTheSettingsOnce) {
    TestClock clock(kIni);
    clock->m_countdownSeconds = 321;
    SendMessageW(clock->GetSafeHwnd(), WM_ENDSESSION, TRUE, 0);
    EXPECT_NE(ReadFileBytes(clock.storePath).find("djsseconds = 321"), std::string::npos);
    // A change after the session ended is not written a second time at destruction.
    clock->m_countdownSeconds = 999;
    clock->Destroy();
    EXPECT_EQ(ReadFileBytes(clock.storePath).find("999"), std::string::npos);
}

TEST(CountdownWindow, MissingLayeredEntryPointIsReportedAndCreationFails) {
    TempFolder folder;
    CountdownWndOptions options;
    options.storePath = folder.File(L"x.ini");
    options.user32Name = L"kernel32.dll";  // loads, but has no UpdateLayeredWindow
    bool reported = false;
    options.fatalError = [&] { reported = true; };
    CountdownWnd window(nullptr, std::move(options));
    EXPECT_FALSE(window.Create());
    EXPECT_TRUE(reported);
    EXPECT_EQ(GetFileAttributesW(folder.File(L"x.ini").c_str()), INVALID_FILE_ATTRIBUTES);  // nothing read or written
}
}  // namespace
