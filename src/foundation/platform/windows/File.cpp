#include "foundation/platform/File.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <windows.h>

#include "foundation/platform/StdioFile.h"
#include "foundation/platform/windows/WidePath.h"

namespace KPlatform {
namespace {

const wchar_t* ModeText(FileMode mode) {
    switch (mode) {
        case FileMode::Read: return L"rb";
        case FileMode::Update: return L"r+b";
        case FileMode::Create: return L"w+b";
    }
    return L"rb";
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsSeparator(wchar_t c) { return c == L'/' || c == L'\\'; }

}  // namespace

FileHandle* OpenFile(std::u16string_view path, FileMode mode) noexcept {
    try {
        std::FILE* file = _wfopen(WidePath(path).c_str(), ModeText(mode));
        if (!file) return nullptr;
        return new FileHandle{file, false};
    } catch (...) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

// Streams carry bytes: the runtime's text mode would turn every line feed
// written into a carriage return and a line feed.
FileHandle* StandardInput() noexcept {
    static FileHandle handle = (_setmode(_fileno(stdin), _O_BINARY), FileHandle{stdin, true});
    return &handle;
}

FileHandle* StandardOutput() noexcept {
    static FileHandle handle = (_setmode(_fileno(stdout), _O_BINARY), FileHandle{stdout, true});
    return &handle;
}

bool SeekFile(FileHandle* file, std::int64_t offset, int origin) noexcept {
    static constexpr int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (origin < 0 || origin > 2) return false;
    return _fseeki64(file->file, offset, kWhence[origin]) == 0;
}

std::int64_t FilePosition(FileHandle* file) noexcept { return std::int64_t(_ftelli64(file->file)); }

bool SyncFile(FileHandle* file) noexcept {
    return std::fflush(file->file) == 0 && _commit(_fileno(file->file)) == 0;
}

bool TruncateFile(FileHandle* file, std::int64_t size) noexcept {
    return std::fflush(file->file) == 0 && _chsize_s(_fileno(file->file), size) == 0;
}

// Both separators are accepted; a drive ("C:") or server ("\\server\share")
// at the start simply fails to be made and is skipped.
bool CreateFolderPath(std::u16string_view path) noexcept {
    try {
        const std::wstring wide = WidePath(path);
        for (std::size_t i = 1; i < wide.size(); ++i) {
            if (IsSeparator(wide[i])) CreateDirectoryW(wide.substr(0, i).c_str(), nullptr);
        }
        if (!wide.empty()) CreateDirectoryW(wide.c_str(), nullptr);
        return IsFolder(wide);
    } catch (...) {
        return false;
    }
}

}  // namespace KPlatform
