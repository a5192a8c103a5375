// The entry through which a VST 3 host reaches the module.
#include "foundation/platform/Export.h"
#include "hosts/vst3/KVST3Factory.h"

HALVANE_EXPORT vst3::IPluginFactory* VST3_API GetPluginFactory() { return KVST3Factory::Acquire(); }
