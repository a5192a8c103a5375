#pragma once
#include <string>
#include <string_view>

#include "foundation/text/Utf8.h"

namespace KPlatform {

// POSIX paths are UTF-8 bytes.
inline std::string NativePath(std::u16string_view path) {
    std::string bytes;
    bytes.reserve(path.size());
    KUtf8::Encoder encoder;
    for (char16_t unit : path) encoder.Feed(unit, [&](char byte) { bytes.push_back(byte); });
    return bytes;
}

}  // namespace KPlatform
