#pragma once
#include <cstdint>

#include "foundation/text/KString.h"

// Settings that hold for every instance of the maker's plug-ins for this
// user: the attributes of the root item of "GlobalSettings.xml" in the
// maker's data folder. The plug-in only reads them.
namespace KGlobalSettings {

// The file; empty when the user has no data folder.
KString FilePath();

// The integer setting `name`; `fallback` when it is missing, or when the
// file is missing or cannot be read.
std::int64_t Integer(const KString& name, std::int64_t fallback) noexcept;

}  // namespace KGlobalSettings
