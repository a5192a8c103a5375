// The module's VST 2.4 entry points. Each call makes one instance and
// answers its effect record; the host deletes it with effClose.
#include "foundation/core/Guard.h"
#include "foundation/platform/Export.h"
#include "hosts/common/KLibrary.h"
#include "hosts/vst2/KAudioPluginVSTAdapter.h"
#include "hosts/vst2/KVst2EditorWindow.h"
#include "hosts/vst2/abi/VstOpcodes.h"

using namespace Vst2;

HALVANE_EXPORT AEffect* VSTPluginMain(audioMasterCallback host) {
    // A host that answers 0 to its version is no VST host.
    if (!host || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0) == 0) return nullptr;
    return KGuard::Run("VST Plugin main", nullptr, [&] {
        KStartLibrarySubsystems();
        auto plugin = KHostedPlugin::Create();
        std::unique_ptr<KEditorWindow> window;
        if (plugin->HasEditor()) window = std::make_unique<KVst2EditorWindow>(*plugin);
        auto* adapter = new KAudioPluginVSTAdapter(host, std::move(plugin), std::move(window));
        return adapter->getAeffect();
    });
}

// Hosts from before 2.4 look for "main". C++ reserves that name for the
// program's own entry, so the symbol is given to another declaration.
HALVANE_EXPORT __attribute__((alias("VSTPluginMain"))) AEffect* KLegacyVSTPluginMain(audioMasterCallback host)
    __asm__("main");
