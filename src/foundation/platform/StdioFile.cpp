// The file operations that the C runtime offers alike on every system.
#include "foundation/platform/StdioFile.h"

namespace KPlatform {

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

bool FlushFile(FileHandle* file) noexcept { return std::fflush(file->file) == 0; }

}  // namespace KPlatform
