#include "hosts/common/KLibraryExports.h"

#include "foundation/core/Guard.h"
#include "hosts/common/KModule.h"
#include "hosts/common/KModuleInstance.h"
#include "hosts/common/KProcessAttach.h"

bool InitDll() { return true; }
bool ExitDll() { return true; }

bool ModuleEntry(void*) { return KLibraryAttached(); }
bool ModuleExit() { return true; }

KModule* KLibraryDLLInitialize(const KLibrarySetupRecord* record) {
    if (!record || !record->allocator) return nullptr;
    KAllocator::Replace(*record->allocator);
    KAllocator::ReplaceGlobalLock(record->globalLock);
    return KGuard::Run("KLibraryDLLInitialize", static_cast<KModule*>(nullptr),
                       [&] { return KModuleInstanceFor(record->callerName); });
}
