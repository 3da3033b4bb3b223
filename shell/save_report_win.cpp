#include "shell/save_report_win.h"

#include <windows.h>
#include <commdlg.h>

#include "clock/run_report.h"
#include "core/atomic_file_win.h"
#include "shell/run_log_file_win.h"

namespace tallyglass {

void SaveReport(HWND owner, const std::wstring& runLog, const std::vector<ShowSegment>& show, bool chinese) {
    wchar_t path[MAX_PATH] = L"TallyglassCountdown-report.csv";
    OPENFILENAMEW save{};
    save.lStructSize = sizeof save;
    save.hwndOwner = owner;
    save.lpstrFilter = L"CSV (*.csv)\0*.csv\0\0";
    save.lpstrFile = path;
    save.nMaxFile = MAX_PATH;
    save.lpstrDefExt = L"csv";
    save.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&save)) return;
    if (WriteFileAtomically(path, RunReport(ReadRunLog(runLog), show))) return;
    MessageBoxW(owner, chinese ? L"报告无法保存到此位置。" : L"The report could not be saved there.",
                L"Tallyglass Countdown", MB_OK | MB_ICONWARNING);
}

}  // namespace tallyglass
