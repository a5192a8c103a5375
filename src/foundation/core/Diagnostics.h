#pragma once
#include "foundation/text/KString.h"

namespace KDiagnostics {

// The one diagnostic sink. It never blocks and never fails. Silent unless the
// environment variable HALVANE_DIAGNOSTICS names a file (or "stderr"), in
// which case each text is appended as one line with a single write call.
void Report(const KString& text) noexcept;

// For tests: receives every reported text in addition to the default output.
using Listener = void (*)(const KString& text);
void SetListener(Listener listener) noexcept;

// The platform's description of the calling thread's last system error, or
// "No error description available.".
KString SystemErrorDescription();

// Appends " <description>" of the last system error to a message.
KString WithSystemError(const KString& message);

// A warning shown to the user (a message box on Windows, a line on standard
// error elsewhere).
void WarningBox(const KString& text) noexcept;

}  // namespace KDiagnostics
