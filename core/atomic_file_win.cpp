#include "core/atomic_file_win.h"

#include <algorithm>
#include <utility>

#include "store/store_files.h"

namespace tallyglass {

namespace {
constexpr DWORD kLockWaitMs = 3000;
constexpr DWORD kBusyReadWaitMs = 1000;
constexpr DWORD kRetryStepMs = 20;

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 20));
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// What a Windows error code means to the caller; the last row's result for any other code.
template <typename Result, size_t N>
Result Meaning(DWORD error, const std::pair<DWORD, Result> (&table)[N]) {
    for (const auto& [code, result] : table)
        if (code == error) return result;
    return table[N - 1].second;
}

class WinFileOperations : public FileOperations {
public:
    bool Exists(const std::wstring& path) override {
        return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    ReplaceError Replace(const std::wstring& replaced, const std::wstring& replacement,
                         const std::wstring& backup) override {
        if (ReplaceFileW(replaced.c_str(), replacement.c_str(), backup.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS,
                         nullptr, nullptr))
            return ReplaceError::None;
        static constexpr std::pair<DWORD, ReplaceError> kErrors[] = {
            {ERROR_UNABLE_TO_REMOVE_REPLACED, ReplaceError::UnableToRemoveReplaced},
            {ERROR_UNABLE_TO_MOVE_REPLACEMENT, ReplaceError::UnableToMoveReplacement},
            {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, ReplaceError::UnableToMoveReplacement2},
            {0, ReplaceError::Other},
        };
        return Meaning(GetLastError(), kErrors);
    }
    bool MoveToNewName(const std::wstring& from, const std::wstring& to) override {
        return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    }
    bool Delete(const std::wstring& path) override { return DeleteFileW(path.c_str()) != 0; }
};

// False when the save is to stop here; the temporary file is then gone unless
// the hook stopped it, as a crash would.
bool WriteTemp(const std::wstring& temp, std::string_view bytes, SaveStepHook* hook) {
    FileHandle file(
        CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    // In two halves, so that a test can stop the save between them.
    const size_t half = bytes.size() / 2;
    bool ok = WriteAll(file.get(), bytes.substr(0, half));
    if (ok && hook && !hook->ContinueAfter(SaveStep::TempHalfWritten)) return false;
    ok = ok && WriteAll(file.get(), bytes.substr(half)) && FlushFileBuffers(file.get());
    file.reset();
    if (!ok) DeleteFileW(temp.c_str());
    return ok;
}

bool ProcessRunning(DWORD processId) {
    KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    // Denied means it exists and belongs to someone else.
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    return !GetExitCodeProcess(process.get(), &code) || code == STILL_ACTIVE;
}

ReadOutcome OutcomeOf(DWORD error) {
    static constexpr std::pair<DWORD, ReadOutcome> kErrors[] = {
        {ERROR_FILE_NOT_FOUND, ReadOutcome::Missing}, {ERROR_PATH_NOT_FOUND, ReadOutcome::Missing},
        {ERROR_SHARING_VIOLATION, ReadOutcome::Busy}, {ERROR_LOCK_VIOLATION, ReadOutcome::Busy},
        {ERROR_ACCESS_DENIED, ReadOutcome::Denied},   {0, ReadOutcome::Failed},
    };
    return Meaning(error, kErrors);
}

FileRead ReadOnce(const std::wstring& path, size_t maxBytes, std::string& bytes) {
    // Shared for delete too, so that a save by another clock is not held up.
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        return {OutcomeOf(error), error};
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return {ReadOutcome::Failed, GetLastError()};
    if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) return {ReadOutcome::TooLarge, 0};
    bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr)) {
            const DWORD error = GetLastError();
            return {OutcomeOf(error), error};
        }
        if (got == 0) break;
        done += got;
    }
    bytes.resize(done);
    return {ReadOutcome::Read, 0};
}
}  // namespace

bool WriteFileAtomically(const std::wstring& path, std::string_view bytes, SaveStepHook* hook) {
    // A file the user marked read-only stays as it is.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    const std::wstring temp = TempFileName(path, GetCurrentProcessId());
    if (!WriteTemp(temp, bytes, hook)) return false;
    if (hook && !hook->ContinueAfter(SaveStep::TempWritten)) return false;
    WinFileOperations files;
    if (!PutFileInPlace(files, path, temp, BackupFileName(path, GetCurrentProcessId()))) return false;
    if (hook) hook->ContinueAfter(SaveStep::Replaced);
    return true;
}

FileRead ReadWholeFile(const std::wstring& path, size_t maxBytes, std::string& bytes) {
    FileRead read = ReadOnce(path, maxBytes, bytes);
    for (DWORD waited = 0; read.outcome == ReadOutcome::Busy && waited < kBusyReadWaitMs; waited += kRetryStepMs) {
        Sleep(kRetryStepMs);
        read = ReadOnce(path, maxBytes, bytes);
    }
    return read;
}

FileHandle AcquireStoreLock(const std::wstring& settingsPath) {
    const std::wstring lockPath = LockFileName(settingsPath);
    for (DWORD waited = 0;; waited += kRetryStepMs) {
        FileHandle lock(CreateFileW(lockPath.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (lock) return lock;
        // Access is denied, too, to a lock file whose holder is closing it.
        const DWORD error = GetLastError();
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) || waited >= kLockWaitMs) return lock;
        Sleep(kRetryStepMs);
    }
}

void RemoveLeftoverFiles(const std::wstring& settingsPath) {
    const size_t slash = settingsPath.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : settingsPath.substr(0, slash + 1);
    const std::wstring name = settingsPath.substr(folder.size());
    WIN32_FIND_DATAW found{};
    const FindHandle listing(FindFirstFileW((settingsPath + L".*").c_str(), &found));
    if (!listing) return;
    do {
        const auto owner = LeftoverOwner(found.cFileName, name);
        if (owner && (*owner == GetCurrentProcessId() || !ProcessRunning(*owner)))
            DeleteFileW((folder + found.cFileName).c_str());
    } while (FindNextFileW(listing.get(), &found));
}

void AppendRolled(const std::wstring& path, const std::wstring& oldPath, uint64_t limit, const std::string& line,
                  const std::string& header) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
        ((uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow) + line.size() > limit)
        MoveFileExW(path.c_str(), oldPath.c_str(), MOVEFILE_REPLACE_EXISTING);
    const FileHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    const std::string text = (GetFileSize(file.get(), nullptr) == 0 ? header : std::string()) + line;
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace tallyglass
