#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace KPlatform {

// A file of the C runtime (the wide-character functions on Windows). The
// handles for standard input and output belong to the process: closing them
// does nothing.
struct FileHandle;

enum class FileMode {
    Read,    // "rb": an existing file, read only
    Update,  // "r+b": an existing file, read and write
    Create,  // "w+b": created or emptied, read and write
};

// Null when the file cannot be opened; the system's last error says why.
FileHandle* OpenFile(std::u16string_view path, FileMode mode) noexcept;
FileHandle* StandardInput() noexcept;
FileHandle* StandardOutput() noexcept;
void CloseFile(FileHandle* file) noexcept;

std::size_t ReadFile(FileHandle* file, void* buffer, std::size_t count) noexcept;
std::size_t WriteFile(FileHandle* file, const void* data, std::size_t count) noexcept;
// True when the last read stopped at the end of the file rather than on an error.
bool ReachedEndOfFile(FileHandle* file) noexcept;
// Origins: 0 start, 1 current position, 2 end.
bool SeekFile(FileHandle* file, std::int64_t offset, int origin) noexcept;
// -1 on failure.
std::int64_t FilePosition(FileHandle* file) noexcept;
bool FlushFile(FileHandle* file) noexcept;
// Flushes, then has the system put the file's data on the disk, so that a
// file renamed over another afterwards survives a power loss whole.
bool SyncFile(FileHandle* file) noexcept;
bool TruncateFile(FileHandle* file, std::int64_t size) noexcept;

// Creates every missing folder of `path`; true when the folder exists afterwards.
bool CreateFolderPath(std::u16string_view path) noexcept;

}  // namespace KPlatform
