#pragma once
// How win_bench sees a started program's first frame: a window with the clock's title,
// owned by that process, turns visible. The clock and the floor program both present
// their first frame before showing the window, so the moment it turns visible is the
// same event in both.
constexpr wchar_t kFirstFrameWindowTitle[] = L"TallyglassPPT\u5012\u8BA1\u65F6";
