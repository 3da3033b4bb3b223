#include "shell/hand_over_win.h"

#include "command/command_line.h"
#include "framework/text_win.h"
#include "shell/product.h"
#include "shell/show_file_win.h"

namespace tallyglass {

namespace {
constexpr UINT kAnswerWithinMs = 2000;

struct Search {
    UINT ping;
    HWND except;
    std::wstring title;
    HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM context) noexcept {
    auto& search = *reinterpret_cast<Search*>(context);
    if (window == search.except) return TRUE;
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (search.title != title) return TRUE;
    DWORD_PTR answer = 0;
    // A hung window or another program's of the same title does not answer so.
    if (SendMessageTimeoutW(window, search.ping, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerWithinMs, &answer) &&
        static_cast<LRESULT>(answer) == kPingAnswer) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

UINT ClockPingMessage() {
    static const UINT message = RegisterWindowMessageW(L"Tallyglass.Countdown.Ping");
    return message;
}

HWND FindRunningClock(HWND except) {
    Search search{ClockPingMessage(), except, Widen(kWindowTitle)};
    EnumWindows(&Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool HandOverWords(HWND clock, HWND from, const std::vector<std::string>& words) {
    const std::string joined = JoinWords(words);
    COPYDATASTRUCT data{kHandOverMagic, static_cast<DWORD>(joined.size()), const_cast<char*>(joined.data())};
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(clock, WM_COPYDATA, reinterpret_cast<WPARAM>(from), reinterpret_cast<LPARAM>(&data),
                               SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerWithinMs, &result) &&
           result == TRUE;
}

std::optional<std::vector<std::string>> HandedOverWords(const COPYDATASTRUCT& data) {
    if (data.dwData != kHandOverMagic || (data.cbData != 0 && !data.lpData)) return std::nullopt;
    return SplitWords(std::string_view(static_cast<const char*>(data.lpData), data.cbData));
}

std::optional<std::vector<ClockCommand>> HandedOverCommands(const COPYDATASTRUCT* data) {
    const auto words = data ? HandedOverWords(*data) : std::nullopt;
    if (!words) return std::nullopt;
    ParsedCommandLine parsed = ParseCommandLine(WordsToHandOver(*words));
    if (!parsed.ok) return std::nullopt;
    // The second start read --show's file and found rows; a file that has lost them
    // since leaves the running show as it is, and the other orders still apply.
    if (parsed.line.showPath) {
        ShowTable table = ReadShowFile(Widen(*parsed.line.showPath));
        if (!table.segments.empty()) parsed.line.orders.show = std::move(table.segments);
    }
    return CommandsOf(parsed.line.orders);
}

}  // namespace tallyglass
