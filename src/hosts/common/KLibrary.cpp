#include "hosts/common/KLibrary.h"

#include <atomic>

namespace {

std::atomic<int> g_liveInstances[2];

std::atomic<int>& LiveInstances(KPluginFormat format) noexcept {
    return g_liveInstances[format == KPluginFormat::Vst3];
}

}  // namespace

void KStartLibrarySubsystems() {}

void KPluginInstanceCreated(KPluginFormat format) noexcept { ++LiveInstances(format); }

void KPluginInstanceDestroyed(KPluginFormat format) noexcept { --LiveInstances(format); }
