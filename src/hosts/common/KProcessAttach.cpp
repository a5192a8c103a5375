#include "hosts/common/KProcessAttach.h"

#include <atomic>

#include "foundation/core/Diagnostics.h"
#include "foundation/core/ProcessDetaching.h"
#include "foundation/platform/Module.h"
#include "foundation/platform/ProcessorFeatures.h"
#include "hosts/common/KModuleInstance.h"

namespace {

std::atomic<void*> gInstanceHandle{nullptr};
std::atomic<bool> gAttachFailed{false};

void ReportFatalAttachFailure() noexcept {
    static constexpr char kMessage[] = "Fatal exception occured. Please contact the developer.";
    KDiagnostics::Report(kMessage);
    KDiagnostics::WarningBox(kMessage);
}

// The loader runs these two around the library's life in the process, as
// the system's library entry does on Windows. Attach reads the processor's
// features before any other code of ours runs and remembers which file we
// are; a loader gives no way to refuse loading from here, so a failure
// makes every later instance creation fail instead.
__attribute__((constructor)) void AttachProcess() noexcept {
    try {
        KProcessorFeatures::Detect();
        gInstanceHandle.store(KPlatform::ModuleHandleOf(reinterpret_cast<const void*>(&AttachProcess)));
    } catch (...) {
        gAttachFailed.store(true);
        ReportFatalAttachFailure();
    }
}

__attribute__((destructor)) void DetachProcess() noexcept {
    KProcessDetaching::Set(true);
    KDestroyModuleInstanceAtDetach();
}

}  // namespace

void* KLibraryInstanceHandle() noexcept { return gInstanceHandle.load(); }

bool KLibraryAttached() noexcept { return !gAttachFailed.load(); }
