#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "effect/HalvaneAudioEffectPlugin.h"
#include "effect/HalvaneAudioEffectPluginInterface.h"
#include "foundation/streams/KMemoryStream.h"
#include "foundation/xml/KXMLDocument.h"
#include "plugin/core/KQuenlorAudioEffectPlugin.h"
#include "presets/state/KStateBlock.h"

namespace state_test {

using Bytes = std::vector<std::uint8_t>;

// A complete plug-in object, as the module creates one.
template <class Plugin = KQuenlorAudioEffectPlugin>
std::unique_ptr<Plugin> MakePlugin(int channels = 2) {
    auto plugin = std::make_unique<Plugin>();
    plugin->Initialize("Halvane", "Quenlor", &HalvaneAudioEffectPluginInterface);
    plugin->SetHostChannels(channels, channels);
    plugin->InitProcessing();
    return plugin;
}

inline HalvaneAudioEffectPlugin& EffectOf(KAudioEffectPluginToAudioPluginAdapter& plugin) {
    return static_cast<HalvaneAudioEffectPlugin&>(*plugin.Effect());
}

inline Bytes Save(KAudioPlugin& plugin) {
    KMemoryStream block = KStateBlock::Save(plugin);
    return Bytes(block.Data(), block.Data() + block.Size());
}

inline void Load(KAudioPlugin& plugin, const Bytes& bytes) {
    const std::unique_ptr<KXMLDocument> document = KStateBlock::Parse(bytes.data(), int(bytes.size()));
    KStateBlock::Load(plugin, *document);
}

inline void Load(KAudioPlugin& plugin, const std::string& text) {
    Load(plugin, Bytes(text.begin(), text.end()));
}

inline std::unique_ptr<KXMLDocument> Document(const Bytes& bytes) {
    return KStateBlock::Parse(bytes.data(), int(bytes.size()));
}

// The block's document as plain (uncompressed) XML text.
inline Bytes PlainText(const Bytes& bytes) {
    KMemoryStream text;
    Document(bytes)->Write(text, true);
    return Bytes(text.Data(), text.Data() + text.Size());
}

}  // namespace state_test
