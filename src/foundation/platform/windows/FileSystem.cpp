#include "foundation/platform/FileSystem.h"

#include <windows.h>

#include "foundation/platform/windows/WidePath.h"

// windows.h maps these names to the wide system calls; ours are our own.
#undef DeleteFile
#undef ReplaceFile

struct KPlatform::FileLock {
    HANDLE file;
};

namespace KPlatform {

bool FileExists(std::u16string_view path) noexcept {
    try {
        const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    } catch (...) {
        return false;
    }
}

bool ReplaceFile(std::u16string_view from, std::u16string_view to) noexcept {
    try {
        return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    } catch (...) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
}

bool DeleteFile(std::u16string_view path) noexcept {
    try {
        return DeleteFileW(WidePath(path).c_str()) != FALSE;
    } catch (...) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
}

// Other processes may open, read and delete the lock file; only the locked
// byte range excludes them. The range is the whole possible file, so the
// lock does not depend on the file's length.
FileLock* LockFile(std::u16string_view lockPath) noexcept {
    try {
        const HANDLE file = CreateFileW(WidePath(lockPath).c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return nullptr;
        OVERLAPPED whole{};
        if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
            CloseHandle(file);
            return nullptr;
        }
        return new FileLock{file};
    } catch (...) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

void UnlockFile(FileLock* lock) noexcept {
    if (!lock) return;
    OVERLAPPED whole{};
    UnlockFileEx(lock->file, 0, MAXDWORD, MAXDWORD, &whole);
    CloseHandle(lock->file);
    delete lock;
}

}  // namespace KPlatform
