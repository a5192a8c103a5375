// The exports through which a VST 3 host reaches the module.
#include "hosts/vst3/KVST3Factory.h"

#define KVST3_EXPORT extern "C" __attribute__((visibility("default")))

KVST3_EXPORT vst3::IPluginFactory* VST3_API GetPluginFactory() { return KVST3Factory::Acquire(); }

// Linux hosts call these around loading and unloading the module; the
// library starts its sub-systems with the first instance instead.
KVST3_EXPORT bool ModuleEntry(void*) { return true; }
KVST3_EXPORT bool ModuleExit() { return true; }
