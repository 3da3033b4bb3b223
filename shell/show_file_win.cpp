#include "shell/show_file_win.h"

namespace tallyglass {

ShowTable ReadShowFile(const std::wstring& path) {
    std::string bytes;
    const FileRead read = ReadWholeFile(path, kMaxShowTableBytes, bytes);
    if (read.outcome == ReadOutcome::Read) return ReadShowTable(bytes);
    ShowTable table;
    table.rowsNotTaken = 1;
    switch (read.outcome) {
        case ReadOutcome::TooLarge:
            table.problems.push_back({0, RowProblem::TooLarge});
            break;
        case ReadOutcome::Missing:
            table.problems.push_back({0, RowProblem::FileMissing});
            break;
        case ReadOutcome::Busy:
            table.problems.push_back({0, RowProblem::FileInUse});
            break;
        default:
            table.problems.push_back({0, RowProblem::FileNotRead, "error " + std::to_string(read.error)});
    }
    return table;
}

void StoreShowOf(CCore& core, const std::vector<ClockCommand>& commands) {
    bool some = false;
    for (const ClockCommand& command : commands) {
        if (command.kind != CommandKind::ApplySettings || !command.show) continue;
        core.saveShow(*command.show);
        some = true;
    }
    if (some) core.commitConfig();
}

}  // namespace tallyglass
