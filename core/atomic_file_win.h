#pragma once
// Replaces a file's contents in one step: a temporary file in the same folder is
// written and flushed, then moved over the old file, so that a crash at any
// moment leaves either the old file or the new one.
#include <string>
#include <string_view>

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
bool WriteFileAtomically(const std::wstring& path, std::string_view bytes, SaveStepHook* hook = nullptr);

// The whole file, or false when it cannot be read. Files above maxBytes are not read.
bool ReadWholeFile(const std::wstring& path, size_t maxBytes, std::string& bytes, bool& tooLarge);
