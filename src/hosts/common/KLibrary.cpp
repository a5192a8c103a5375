#include "hosts/common/KLibrary.h"

#include <atomic>

namespace {
std::atomic<int> g_liveInstances[2];
}

void KStartLibrarySubsystems() {}

void KPluginInstanceCreated(KPluginFormat format) noexcept { ++g_liveInstances[int(format)]; }
void KPluginInstanceDestroyed(KPluginFormat format) noexcept { --g_liveInstances[int(format)]; }
