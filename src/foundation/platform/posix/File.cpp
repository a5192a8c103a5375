#include "foundation/platform/File.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "foundation/platform/posix/NativePath.h"

struct KPlatform::FileHandle {
    std::FILE* file;
    bool standard;
};

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

void CloseFile(FileHandle* file) noexcept {
    if (!file || file->standard) return;
    std::fclose(file->file);
    delete file;
}

std::size_t ReadFile(FileHandle* file, void* buffer, std::size_t count) noexcept {
    return std::fread(buffer, 1, count, file->file);
}

std::size_t WriteFile(FileHandle* file, const void* data, std::size_t count) noexcept {
    return std::fwrite(data, 1, count, file->file);
}

bool ReachedEndOfFile(FileHandle* file) noexcept { return std::feof(file->file) && !std::ferror(file->file); }

bool SeekFile(FileHandle* file, std::int64_t offset, int origin) noexcept {
    static constexpr int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (origin < 0 || origin > 2) return false;
    return ::fseeko(file->file, off_t(offset), kWhence[origin]) == 0;
}

std::int64_t FilePosition(FileHandle* file) noexcept { return std::int64_t(::ftello(file->file)); }

bool FlushFile(FileHandle* file) noexcept { return std::fflush(file->file) == 0; }

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
