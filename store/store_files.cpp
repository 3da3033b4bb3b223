#include "store/store_files.h"

namespace tallyglass {

std::wstring TempFileName(const std::wstring& settingsPath, uint32_t processId) {
    return settingsPath + L"." + std::to_wstring(processId) + L".tmp";
}

std::wstring BackupFileName(const std::wstring& settingsPath, uint32_t processId) {
    return settingsPath + L"." + std::to_wstring(processId) + L".bak";
}

std::wstring LockFileName(const std::wstring& settingsPath) { return settingsPath + L".lock"; }

std::optional<uint32_t> LeftoverOwner(std::wstring_view fileName, std::wstring_view settingsFileName) {
    if (fileName.size() <= settingsFileName.size() + 1 ||
        fileName.substr(0, settingsFileName.size()) != settingsFileName || fileName[settingsFileName.size()] != L'.')
        return std::nullopt;
    std::wstring_view rest = fileName.substr(settingsFileName.size() + 1);
    const size_t dot = rest.find(L'.');
    if (dot == std::wstring_view::npos || dot == 0 || dot > 10) return std::nullopt;
    const std::wstring_view suffix = rest.substr(dot);
    if (suffix != L".tmp" && suffix != L".bak") return std::nullopt;
    uint64_t id = 0;
    for (wchar_t c : rest.substr(0, dot)) {
        if (c < L'0' || c > L'9') return std::nullopt;
        id = id * 10 + static_cast<uint64_t>(c - L'0');
    }
    if (id > UINT32_MAX) return std::nullopt;
    return static_cast<uint32_t>(id);
}

std::wstring FileBeside(const std::wstring& settingsPath, const std::wstring& name) {
    const size_t slash = settingsPath.find_last_of(L"\\/");
    return slash == std::wstring::npos ? name : settingsPath.substr(0, slash + 1) + name;
}

std::wstring FolderOfModule(std::wstring_view modulePath) {
    const size_t slash = modulePath.find_last_of(L"\\/");
    if (slash == std::wstring_view::npos || slash == 0) return {};
    return std::wstring(modulePath.substr(0, slash + 1));
}

bool PutFileInPlace(FileOperations& files, const std::wstring& target, const std::wstring& replacement,
                    const std::wstring& backup) {
    if (!files.Exists(target)) {
        const bool moved = files.MoveToNewName(replacement, target);
        if (!moved) files.Delete(replacement);
        return moved;
    }
    bool placed = files.Replace(target, replacement, backup) == ReplaceError::None;
    if (!placed && !files.Exists(target)) {
        // The old file went to the backup name and the new one did not follow:
        // the new one goes in by name, or else the old one comes back.
        placed = files.MoveToNewName(replacement, target);
        if (!placed) files.MoveToNewName(backup, target);
    }
    if (files.Exists(target)) {
        files.Delete(replacement);
        files.Delete(backup);
    }
    return placed;
}

}  // namespace tallyglass
