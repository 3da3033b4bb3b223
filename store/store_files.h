#pragma once
// The files that live beside the settings file while it is saved, and the rule
// that puts a new file under the settings file's name. Portable: the Windows
// calls sit behind FileOperations.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tallyglass {

// One per process, so that two clocks saving the same file never share one.
std::wstring TempFileName(const std::wstring& settingsPath, uint32_t processId);
std::wstring BackupFileName(const std::wstring& settingsPath, uint32_t processId);
// Held open, exclusively, by the one process that saves at a time.
std::wstring LockFileName(const std::wstring& settingsPath);

// The process that left a temporary or backup file, from its name (without the
// folder); nothing when the name is not one of ours for this settings file.
std::optional<uint32_t> LeftoverOwner(std::wstring_view fileName, std::wstring_view settingsFileName);

// A file of this name in the settings file's folder (the remote log, say).
std::wstring FileBeside(const std::wstring& settingsPath, const std::wstring& name);

// The folder of the running program with a trailing separator, from the
// program's own path; empty when that path is unknown (never a drive's root).
std::wstring FolderOfModule(std::wstring_view modulePath);

enum class ReplaceError { None, UnableToRemoveReplaced, UnableToMoveReplacement, UnableToMoveReplacement2, Other };

class FileOperations {
public:
    virtual bool Exists(const std::wstring& path) = 0;
    // The replaced file goes to backup; its attributes and security stay.
    virtual ReplaceError Replace(const std::wstring& replaced, const std::wstring& replacement,
                                 const std::wstring& backup) = 0;
    // Fails when `to` exists.
    virtual bool MoveToNewName(const std::wstring& from, const std::wstring& to) = 0;
    virtual bool Delete(const std::wstring& path) = 0;

protected:
    ~FileOperations() = default;
};

// Puts the replacement under the target's name. True when the new file is
// there. Whatever fails, the old or the new file remains under the target's
// name, and the spare copies are removed only once one of them does.
bool PutFileInPlace(FileOperations& files, const std::wstring& target, const std::wstring& replacement,
                    const std::wstring& backup);

}  // namespace tallyglass
