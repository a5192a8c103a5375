#pragma once
#include <string>
#include <string_view>

namespace KPlatform {

// Windows' wide characters are UTF-16 code units, as the library's texts are.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t must be a UTF-16 code unit");

inline std::wstring WidePath(std::u16string_view path) {
    return std::wstring(reinterpret_cast<const wchar_t*>(path.data()), path.size());
}

inline std::u16string FromWide(const wchar_t* text, std::size_t length) {
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

}  // namespace KPlatform
