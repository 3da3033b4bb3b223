#include "app/command_line_win.h"

#include <shellapi.h>

#include <memory>

#include "framework/text_win.h"
#include "shell/product.h"

namespace tallyglass {

namespace {
struct LocalFreeDeleter {
    void operator()(wchar_t** words) const { LocalFree(words); }
};

void WriteToParentConsole(const std::wstring& text) {
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;  // not started from a console
    const HANDLE out = GetStdHandle(STD_ERROR_HANDLE);
    DWORD written = 0;
    const std::wstring line = L"\r\n" + text + L"\r\n";
    // A console takes UTF-16; a redirected handle gets UTF-8 bytes.
    if (!WriteConsoleW(out, line.c_str(), static_cast<DWORD>(line.size()), &written, nullptr)) {
        const std::string bytes = Narrow(line);
        WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    FreeConsole();
}
}  // namespace

std::vector<std::string> ProcessWords() {
    if (!HasWordsAfterProgram(GetCommandLineW())) return {};
    int count = 0;
    std::unique_ptr<wchar_t*, LocalFreeDeleter> words(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::string> result;
    for (int i = 1; words && i < count; ++i) result.push_back(Narrow(words.get()[i]));
    return result;
}

void ReportBadCommandLine(const ParsedCommandLine& parsed) {
    const std::wstring text = L"Cannot use \"" + Widen(parsed.badWord) + L"\": " + Widen(parsed.why) + L".\n\nUsage: " +
                              Widen(kCommandLineUsage);
    WriteToParentConsole(text);
    MessageBoxW(nullptr, text.c_str(), Widen(kWindowTitle).c_str(), MB_OK | MB_ICONWARNING);
}

}  // namespace tallyglass
