#pragma once
#include <string>
#include <string_view>

namespace KPlatform {

// Text of the calling thread's last system error; empty when the system has
// none to give.
std::u16string LastErrorText();

// Opens the diagnostic destination named by `target` ("stderr" or a file
// path) and answers a handle for WriteDiagnosticLine, or -1.
int OpenDiagnosticOutput(std::string_view target) noexcept;
// Writes one line with a single non-blocking call; failures are ignored.
void WriteDiagnosticLine(int handle, std::string_view line) noexcept;

// Shows a warning to the user and returns when it has been acknowledged.
void ShowWarning(std::string_view utf8Text) noexcept;

}  // namespace KPlatform
