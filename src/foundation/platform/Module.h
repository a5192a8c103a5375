#pragma once
#include <string>

namespace KPlatform {

// The handle of the loaded library (or program) that contains `address`:
// its load address, as the system's module handle is on Windows. Null when
// the address belongs to no loaded file.
void* ModuleHandleOf(const void* address) noexcept;
// The handle of the host's program.
void* ExecutableHandle() noexcept;
// The full path of the file behind a module handle; empty when unknown.
std::u16string ModuleFilePath(void* handle);

// The per-user folder for application data (the roaming application-data
// folder on Windows, $XDG_DATA_HOME or ~/.local/share elsewhere); empty when
// the system names none.
std::u16string ApplicationDataFolder();

}  // namespace KPlatform
