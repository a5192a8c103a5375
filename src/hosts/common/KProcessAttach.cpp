#include "hosts/common/KProcessAttach.h"

#include <atomic>

#include "foundation/core/Diagnostics.h"
#include "foundation/core/ProcessDetaching.h"
#include "foundation/platform/Module.h"
#include "foundation/platform/ProcessorFeatures.h"
#include "hosts/common/KModuleInstance.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

std::atomic<void*> gInstanceHandle{nullptr};
std::atomic<bool> gAttachFailed{false};

void ReportFatalAttachFailure() noexcept {
    static constexpr char kMessage[] = "Fatal exception occured. Please contact the developer.";
    KDiagnostics::Report(kMessage);
    KDiagnostics::WarningBox(kMessage);
}

// Reads the processor's features before any other code of ours runs and
// remembers which file we are. False (after telling the user) on failure.
bool AttachProcess(void* instanceHandle) noexcept {
    try {
        KProcessorFeatures::Detect();
        gInstanceHandle.store(instanceHandle);
        return true;
    } catch (...) {
        gAttachFailed.store(true);
        ReportFatalAttachFailure();
        return false;
    }
}

void DetachProcess() noexcept {
    KProcessDetaching::Set(true);
    KDestroyModuleInstanceAtDetach();
}

}  // namespace

#if defined(_WIN32)

// The system's library entry. A failed attach makes the load fail.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    switch (reason) {
    case DLL_PROCESS_ATTACH: return AttachProcess(instance) ? TRUE : FALSE;
    case DLL_PROCESS_DETACH: DetachProcess(); return TRUE;
    default: return TRUE;
    }
}

#else

namespace {

// The loader runs these two around the library's life in the process, as
// the system's library entry does on Windows. A loader gives no way to
// refuse loading from here, so a failed attach makes every later instance
// creation fail instead.
__attribute__((constructor)) void AttachLoadedLibrary() noexcept {
    AttachProcess(KPlatform::ModuleHandleOf(reinterpret_cast<const void*>(&AttachLoadedLibrary)));
}

__attribute__((destructor)) void DetachLoadedLibrary() noexcept { DetachProcess(); }

}  // namespace

#endif

void* KLibraryInstanceHandle() noexcept { return gInstanceHandle.load(); }

bool KLibraryAttached() noexcept { return !gAttachFailed.load(); }
