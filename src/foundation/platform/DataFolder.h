#pragma once
#include <string>
#include <string_view>

namespace KPlatform {

// The maker's folder inside the per-user application-data folder, where
// global settings and presets live; created when it does not exist yet.
// Empty when the system names no data folder or the folder cannot be made.
std::u16string MakerDataFolder(std::u16string_view makerName);

}  // namespace KPlatform
