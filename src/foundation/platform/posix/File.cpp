#include "foundation/platform/File.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "foundation/platform/StdioFile.h"
#include "foundation/platform/posix/NativePath.h"

namespace KPlatform {
namespace {

const char* ModeText(FileMode mode) {
    switch (mode) {
        case FileMode::Read: return "rb";
        case FileMode::Update: return "r+b";
        case FileMode::Create: return "w+b";
    }
    return "rb";
}

bool IsFolder(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

FileHandle* OpenFile(std::u16string_view path, FileMode mode) noexcept {
    try {
        std::FILE* file = std::fopen(NativePath(path).c_str(), ModeText(mode));
        if (!file) return nullptr;
        return new FileHandle{file, false};
    } catch (...) {
        errno = ENOMEM;
        return nullptr;
    }
}

FileHandle* StandardInput() noexcept {
    static FileHandle handle{stdin, true};
    return &handle;
}

FileHandle* StandardOutput() noexcept {
    static FileHandle handle{stdout, true};
    return &handle;
}

bool SeekFile(FileHandle* file, std::int64_t offset, int origin) noexcept {
    static constexpr int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (origin < 0 || origin > 2) return false;
    return ::fseeko(file->file, off_t(offset), kWhence[origin]) == 0;
}

std::int64_t FilePosition(FileHandle* file) noexcept { return std::int64_t(::ftello(file->file)); }

bool SyncFile(FileHandle* file) noexcept {
    return std::fflush(file->file) == 0 && ::fsync(::fileno(file->file)) == 0;
}

bool TruncateFile(FileHandle* file, std::int64_t size) noexcept {
    return std::fflush(file->file) == 0 && ::ftruncate(::fileno(file->file), off_t(size)) == 0;
}

bool CreateFolderPath(std::u16string_view path) noexcept {
    try {
        const std::string native = NativePath(path);
        for (std::size_t slash = native.find('/', 1); slash != std::string::npos; slash = native.find('/', slash + 1)) {
            ::mkdir(native.substr(0, slash).c_str(), 0777);
        }
        if (!native.empty()) ::mkdir(native.c_str(), 0777);
        return IsFolder(native);
    } catch (...) {
        return false;
    }
}

}  // namespace KPlatform
