#include "shell/run_log_file_win.h"

#include <cstdio>

#include "core/atomic_file_win.h"
#include "framework/handles_win.h"

namespace tallyglass {

namespace {
constexpr uint64_t kRunLogLimit = 1024 * 1024;

// "TallyglassCountdown-log.csv" keeps one old file as "TallyglassCountdown-log.old.csv".
std::wstring OldFile(const std::wstring& path) {
    const size_t dot = path.rfind(L'.');
    return dot == std::wstring::npos ? path + L".old" : path.substr(0, dot) + L".old" + path.substr(dot);
}
}  // namespace

std::string LocalTimeWithOffset() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    TIME_ZONE_INFORMATION zone;
    const DWORD kind = GetTimeZoneInformation(&zone);
    LONG bias = zone.Bias + (kind == TIME_ZONE_ID_DAYLIGHT   ? zone.DaylightBias
                             : kind == TIME_ZONE_ID_STANDARD ? zone.StandardBias
                                                             : 0);
    const char sign = bias <= 0 ? '+' : '-';  // the bias is UTC minus local
    bias = bias < 0 ? -bias : bias;
    char text[40];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u%c%02ld:%02ld", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond, sign, bias / 60, bias % 60);
    return text;
}

std::string ReadRunLog(const std::wstring& path) {
    std::string text;
    ReadWholeFile(path, kRunLogLimit + 4096, text);
    return text;
}

bool RunLogFile::NewDay() const {
    if (GetFileAttributesW(m_path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;  // nothing logged yet
    return MoveFileExW(m_path.c_str(), OldFile(m_path).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

void RunLogFile::Write(const RunLogEvent& event) const {
    // A new file says what its columns are.
    AppendRolled(m_path, OldFile(m_path), kRunLogLimit, RunLogLine(LocalTimeWithOffset(), event) + "\r\n",
                 std::string(kRunLogHeader) + "\r\n");
}

}  // namespace tallyglass
