#include "foundation/platform/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "foundation/platform/posix/NativePath.h"

struct KPlatform::FileLock {
    int descriptor;
};

namespace KPlatform {

bool FileExists(std::u16string_view path) noexcept {
    try {
        struct stat info;
        return ::stat(NativePath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
    } catch (...) {
        return false;
    }
}

bool ReplaceFile(std::u16string_view from, std::u16string_view to) noexcept {
    try {
        return std::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0;
    } catch (...) {
        errno = ENOMEM;
        return false;
    }
}

bool DeleteFile(std::u16string_view path) noexcept {
    try {
        return ::unlink(NativePath(path).c_str()) == 0;
    } catch (...) {
        errno = ENOMEM;
        return false;
    }
}

FileLock* LockFile(std::u16string_view lockPath) noexcept {
    try {
        const int descriptor = ::open(NativePath(lockPath).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (descriptor < 0) return nullptr;
        while (::flock(descriptor, LOCK_EX) != 0) {
            if (errno == EINTR) continue;
            ::close(descriptor);
            return nullptr;
        }
        return new FileLock{descriptor};
    } catch (...) {
        errno = ENOMEM;
        return nullptr;
    }
}

void UnlockFile(FileLock* lock) noexcept {
    if (!lock) return;
    ::flock(lock->descriptor, LOCK_UN);
    ::close(lock->descriptor);
    delete lock;
}

}  // namespace KPlatform
