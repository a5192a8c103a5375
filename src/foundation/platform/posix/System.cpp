#include "foundation/platform/System.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace KPlatform {

std::u16string LastErrorText() {
    const int code = errno;
    if (code == 0) return {};
    char buffer[256];
    // GNU strerror_r answers a pointer that may or may not be `buffer`.
    const char* text = strerror_r(code, buffer, sizeof buffer);
    std::u16string result;
    if (!text) return result;
    for (const char* p = text; *p; ++p) result.push_back(char16_t(static_cast<unsigned char>(*p)));
    return result;
}

int OpenDiagnosticOutput(std::string_view target) noexcept {
    if (target == "stderr") return STDERR_FILENO;
    std::string path(target);
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC, 0644);
}

void WriteDiagnosticLine(int handle, std::string_view line) noexcept {
    if (handle < 0) return;
    std::string text(line);
    text.push_back('\n');
    [[maybe_unused]] ssize_t written = ::write(handle, text.data(), text.size());
}

void ShowWarning(std::string_view utf8Text) noexcept {
    std::string text("Halvane: ");
    text.append(utf8Text);
    text.push_back('\n');
    [[maybe_unused]] ssize_t written = ::write(STDERR_FILENO, text.data(), text.size());
}

}  // namespace KPlatform
