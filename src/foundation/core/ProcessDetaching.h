#pragma once

// The process-wide flag raised while the library is being unloaded from its
// process. Threads are then abandoned rather than waited for: the system
// holds its loader lock, and a thread that needs it would never end.
namespace KProcessDetaching {

void Set(bool detaching) noexcept;
bool IsSet() noexcept;

}  // namespace KProcessDetaching
