#pragma once
// The run log beside the settings file: each event appended as one line the moment it
// happens, written through to the system so that a clock killed a second later has
// lost nothing; past 1 MiB the file becomes the one old file kept and a new one begins.
#include <windows.h>

#include <string>

#include "clock/run_log.h"

namespace tallyglass {

class RunLogFile {
public:
    explicit RunLogFile(std::wstring path) : m_path(std::move(path)) {}
    void Write(const RunLogEvent& event) const;
    // Sets today's log aside as the one old file; the next event begins a new one.
    // False when it could not be moved (a read-only folder), the log then going on as it was.
    bool NewDay() const;
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
};

inline constexpr wchar_t kRunLogName[] = L"TallyglassCountdown-log.csv";

// The log's text, for the report (at most the size at which it rolls over, and a line).
std::string ReadRunLog(const std::wstring& path);

// Now, local, with its UTC offset: 2026-12-07T14:32:05+01:00.
std::string LocalTimeWithOffset();

}  // namespace tallyglass
