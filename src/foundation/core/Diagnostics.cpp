#include "foundation/core/Diagnostics.h"

#include <atomic>
#include <cstdlib>

#include "foundation/platform/System.h"

namespace KDiagnostics {
namespace {

std::atomic<Listener> gListener{nullptr};

int OutputHandle() noexcept {
    static const int handle = [] {
        const char* target = std::getenv("HALVANE_DIAGNOSTICS");
        return target && *target ? KPlatform::OpenDiagnosticOutput(target) : -1;
    }();
    return handle;
}

}  // namespace

void Report(const KString& text) noexcept {
    if (Listener listener = gListener.load(std::memory_order_acquire)) listener(text);
    const int handle = OutputHandle();
    if (handle < 0) return;
    try {
        KPlatform::WriteDiagnosticLine(handle, text.ToUTF8());
    } catch (...) {
        // The sink cannot fail; a text that cannot even be converted is lost.
    }
}

void SetListener(Listener listener) noexcept { gListener.store(listener, std::memory_order_release); }

KString SystemErrorDescription() {
    const std::u16string text = KPlatform::LastErrorText();
    if (text.empty()) return "No error description available.";
    return KString::FromUTF16(text);
}

KString WithSystemError(const KString& message) {
    KString description = SystemErrorDescription();
    if (description.IsEmpty()) return message;
    KString result(message);
    result.Append(u' ');
    return result.Append(description);
}

void WarningBox(const KString& text) noexcept {
    try {
        KPlatform::ShowWarning(text.ToUTF8());
    } catch (...) {
    }
}

}  // namespace KDiagnostics
