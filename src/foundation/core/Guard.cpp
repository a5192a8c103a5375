#include "foundation/core/Guard.h"

#include "foundation/core/Diagnostics.h"
#include "foundation/text/KFormatter.h"

namespace KGuard {

void ReportUnexpected(const char* guardName) noexcept {
    try {
        KDiagnostics::Report(KFormatter("SYSTEM EXCEPTION! {0}") << guardName);
    } catch (...) {
        // Building the report itself failed (out of memory): nothing more to do.
    }
}

}  // namespace KGuard
