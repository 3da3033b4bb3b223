#include "core/atomic_file_win.h"

#include <windows.h>

#include "framework/handles_win.h"

namespace {
bool WriteAll(HANDLE file, const char* data, size_t size) {
    while (size > 0) {
        DWORD written = 0;
        const DWORD chunk = size > (1u << 20) ? (1u << 20) : static_cast<DWORD>(size);
        if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
        data += written;
        size -= written;
    }
    return true;
}
}  // namespace

bool WriteFileAtomically(const std::wstring& path, std::string_view bytes, SaveStepHook* hook) {
    // A file the user marked read-only stays as it is (Windows would refuse the
    // replace too; say so before writing anything).
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    const std::wstring temp = path + L".new";
    {
        FileHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        const size_t half = bytes.size() / 2;
        bool ok = WriteAll(file.get(), bytes.data(), half);
        if (ok && hook && !hook->ContinueAfter(SaveStep::TempHalfWritten)) return false;
        ok = ok && WriteAll(file.get(), bytes.data() + half, bytes.size() - half);
        ok = ok && FlushFileBuffers(file.get());
        file.reset();
        if (!ok) {
            DeleteFileW(temp.c_str());
            return false;
        }
    }
    if (hook && !hook->ContinueAfter(SaveStep::TempWritten)) return false;
    if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temp.c_str());
        return false;
    }
    if (hook) hook->ContinueAfter(SaveStep::Replaced);
    return true;
}

bool ReadWholeFile(const std::wstring& path, size_t maxBytes, std::string& bytes, bool& tooLarge) {
    tooLarge = false;
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return false;
    if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        tooLarge = true;
        return false;
    }
    bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr))
            return false;
        if (got == 0) break;
        done += got;
    }
    bytes.resize(done);
    return true;
}
