#include "hosts/common/KLibrary.h"

#include <array>
#include <atomic>

#include "foundation/core/Guard.h"
#include "foundation/core/KException.h"
#include "foundation/threading/KLock.h"
#include "hosts/common/KHalvaneModule.h"
#include "hosts/common/KModuleInstance.h"
#include "hosts/common/KProcessAttach.h"

namespace {

std::atomic<KModule*> gModule{nullptr};
std::atomic<KModule*> gFirstModule{nullptr};
// Written under the library lock only.
std::array<int, 2> gLiveInstances{};

// Serialises every change of the module instance and of the counts. Made on
// first use and torn down when the process exits.
KLock& LibraryLock() {
    static KLock lock;
    return lock;
}

int& LiveInstances(KPluginFormat format) noexcept { return gLiveInstances[format == KPluginFormat::Vst2 ? 0 : 1]; }

// Under the library lock. A module whose initialisation fails is not kept.
KModule* EnsureModuleInstance(const KString& callerName) {
    if (KModule* module = gModule.load(std::memory_order_acquire)) return module;
    KModule* module = KCreateModuleInstance();
    try {
        module->SetCallerName(callerName);
        module->Initialize();
    } catch (...) {
        delete module;
        throw;
    }
    gModule.store(module, std::memory_order_release);
    return module;
}

void DestroyModuleInstance() {
    delete gModule.load(std::memory_order_acquire);
    gModule.store(nullptr, std::memory_order_release);
}

}  // namespace

KModule* KCreateModuleInstance() {
    KModule* module = new KHalvaneModule(KLibraryInstanceHandle());
    KModule* none = nullptr;
    gFirstModule.compare_exchange_strong(none, module);
    return module;
}

KModule* KModuleInstanceFor(const KString& callerName) {
    KScopedLock lock(LibraryLock());
    return EnsureModuleInstance(callerName);
}

void KStartLibrarySubsystems() {
    if (!KLibraryAttached()) throw KException("Fatal exception occured. Please contact the developer.");
    KModuleInstanceFor(KString());
}

void KPluginInstanceCreated(KPluginFormat format) noexcept {
    KGuard::Run("KPluginInstanceCreated", [&] {
        KScopedLock lock(LibraryLock());
        ++LiveInstances(format);
        EnsureModuleInstance(KString());
    });
}

void KPluginInstanceDestroyed(KPluginFormat format) noexcept {
    KGuard::Run("KPluginInstanceDestroyed", [&] {
        KScopedLock lock(LibraryLock());
        if (--LiveInstances(format) <= 0) DestroyModuleInstance();
    });
}

KModule* KCurrentModuleInstance() noexcept { return gModule.load(std::memory_order_acquire); }

KModule* KFirstModuleInstance() noexcept { return gFirstModule.load(std::memory_order_acquire); }

// No lock here: the loader already serialises detach against everything
// else, and the library lock may be gone by now.
void KDestroyModuleInstanceAtDetach() noexcept {
    KGuard::Run("KCreateModuleInstance", [] { DestroyModuleInstance(); });
}
