#pragma once
// Replaces a file's contents in one step: a temporary file in the same folder is
// written and flushed, then put in the old file's place, so that a crash at any
// moment leaves either the old file or the new one.
#include <windows.h>

#include <string>
#include <string_view>

#include "framework/handles_win.h"

namespace tallyglass {

enum class SaveStep { TempHalfWritten, TempWritten, Replaced };

// Test seam: returning false at a step stops the save there, as a crash would
// (no clean-up). Production code passes no hook.
class SaveStepHook {
public:
    virtual bool ContinueAfter(SaveStep step) = 0;

protected:
    ~SaveStepHook() = default;
};

// True when the new contents are in place. On failure the old file is intact.
// The file keeps its attributes and security; a read-only file is not written.
bool WriteFileAtomically(const std::wstring& path, std::string_view bytes, SaveStepHook* hook = nullptr);

enum class ReadOutcome { Read, Missing, Busy, Denied, TooLarge, Failed };

struct FileRead {
    ReadOutcome outcome;
    DWORD error;  // as GetLastError gave it, for the user
};

// The whole file. A file another program holds open without sharing is tried
// again for a moment before it counts as Busy. Files above maxBytes are not read.
FileRead ReadWholeFile(const std::wstring& path, size_t maxBytes, std::string& bytes);

// A log's line appended and written through at once; past limit bytes the file first
// becomes the one old file (oldPath, replaced) and a new one begins, with header when
// one is given. A file that cannot be written loses the line, never its caller.
void AppendRolled(const std::wstring& path, const std::wstring& oldPath, uint64_t limit, const std::string& line,
                  const std::string& header = {});

// Held while one process reads, merges and replaces the settings file; waits a
// few seconds for another holder. Empty when it cannot be had.
FileHandle AcquireStoreLock(const std::wstring& settingsPath);

// Deletes temporary and backup files that a save of this process, or of a
// process that no longer runs, left beside the settings file. Call with the lock held.
void RemoveLeftoverFiles(const std::wstring& settingsPath);

}  // namespace tallyglass
