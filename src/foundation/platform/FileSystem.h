#pragma once
#include <string_view>

namespace KPlatform {

bool FileExists(std::u16string_view path) noexcept;
// Puts `from` in the place of `to` in one step, so that readers see either
// the old or the new file, never a part of one. Both lie in one folder.
bool ReplaceFile(std::u16string_view from, std::u16string_view to) noexcept;
bool DeleteFile(std::u16string_view path) noexcept;

// An exclusive lock between processes, held on a lock file of its own
// (created when missing); LockFile waits until the lock is free. Null when
// the lock file cannot be made.
struct FileLock;
FileLock* LockFile(std::u16string_view lockPath) noexcept;
void UnlockFile(FileLock* lock) noexcept;

}  // namespace KPlatform
