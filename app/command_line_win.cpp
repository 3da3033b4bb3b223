#include "app/command_line_win.h"

#include <shellapi.h>

#include <memory>

#include "framework/text_win.h"
#include "shell/product.h"
#include "shell/show_file_win.h"

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

void Report(const std::wstring& text, UINT icon) {
    WriteToParentConsole(text);
    MessageBoxW(nullptr, text.c_str(), Widen(kWindowTitle).c_str(), MB_OK | icon);
}

std::wstring FullPath(const std::wstring& path) {
    std::wstring full(GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
    const DWORD length =
        full.empty() ? 0 : GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size()) return path;
    full.resize(length);
    return full;
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
    Report(text, MB_ICONWARNING);
}

ShowTable TakeShowFile(CommandLine& line, std::vector<std::string>& handedOver) {
    const std::wstring path = FullPath(Widen(line.showPath.value_or("")));
    ShowTable table = ReadShowFile(path);
    for (size_t i = 0; i + 1 < handedOver.size(); ++i)
        if (handedOver[i] == "--show") handedOver[++i] = Narrow(path);
    if (!table.segments.empty()) line.orders.show = table.segments;
    return table;
}

void ReportShowTable(const std::string& path, const ShowTable& table) {
    if (table.rowsNotTaken == 0 && !table.segments.empty()) return;
    const std::wstring rows = Widen(DescribeShowTableProblems(table, UiLanguage::English, kKeptRowProblems));
    if (table.segments.empty())
        return Report(L"Cannot use \"" + Widen(path) + L"\": it holds no segment.\n\n" + rows + L"\n\nUsage: " +
                          Widen(kCommandLineUsage),
                      MB_ICONWARNING);
    Report(L"The run of show is now the " + std::to_wstring(table.segments.size()) + L" segments of \"" + Widen(path) +
               L"\"; these rows were not taken:\n\n" + rows,
           MB_ICONINFORMATION);
}

}  // namespace tallyglass
