#include "foundation/platform/System.h"

#include <fcntl.h>
#include <io.h>
#include <string>
#include <sys/stat.h>
#include <windows.h>

#include "foundation/text/Utf8.h"
#include "foundation/platform/windows/WidePath.h"

namespace KPlatform {
namespace {

// FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM
constexpr DWORD kMessageFlags = 4864;
// The neutral language with the user's default sublanguage.
constexpr DWORD kUserLanguage = 1024;
static_assert(kMessageFlags == (FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                                FORMAT_MESSAGE_FROM_SYSTEM));
static_assert(kUserLanguage == MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT));

std::wstring Widen(std::string_view utf8) {
    std::u16string units;
    KUtf8::Decoder decoder;
    const auto emit = [&](char16_t unit) { units.push_back(unit); };
    for (char byte : utf8) decoder.Feed(static_cast<unsigned char>(byte), emit);
    return WidePath(units);
}

}  // namespace

// The system ends its texts with a line break; it is dropped because the
// description is appended to a one-line message.
std::u16string LastErrorText() {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(kMessageFlags, nullptr, GetLastError(), kUserLanguage,
                                        reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    if (length == 0 || !buffer) return {};
    std::u16string text = FromWide(buffer, length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' ')) text.pop_back();
    return text;
}

int OpenDiagnosticOutput(std::string_view target) noexcept {
    if (target == "stderr") return 2;
    try {
        return _wopen(Widen(target).c_str(), _O_WRONLY | _O_CREAT | _O_APPEND | _O_BINARY, _S_IREAD | _S_IWRITE);
    } catch (...) {
        return -1;
    }
}

// Files and consoles on Windows have no non-blocking mode; one write of a
// short line to them returns promptly.
void WriteDiagnosticLine(int handle, std::string_view line) noexcept {
    if (handle < 0) return;
    try {
        std::string text(line);
        text.push_back('\n');
        _write(handle, text.data(), unsigned(text.size()));
    } catch (...) {
    }
}

// No owner window, no caption, an exclamation icon and one OK button.
void ShowWarning(std::string_view utf8Text) noexcept {
    constexpr UINT kExclamationOk = 48;
    static_assert(kExclamationOk == (MB_OK | MB_ICONEXCLAMATION));
    try {
        MessageBoxW(nullptr, Widen(utf8Text).c_str(), nullptr, kExclamationOk);
    } catch (...) {
    }
}

}  // namespace KPlatform
