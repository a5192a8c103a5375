// The adapter's part of the plug-in state, and the settings a preset holds.
#include <algorithm>
#include <array>

#include "foundation/core/Guard.h"
#include "foundation/text/NumberText.h"
#include "foundation/xml/KStorageContext.h"
#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"
#include "plugin/pipeline/KChannelModes.h"

namespace {

const std::array<KString, KChannelModes::kCount>& StoredChannelModeNames() {
    static const std::array<KString, KChannelModes::kCount> names = [] {
        std::array<KString, KChannelModes::kCount> result;
        for (int i = 0; i < KChannelModes::kCount; ++i)
            result[std::size_t(i)] = KString::FromBytes(KChannelModes::StoredNames()[std::size_t(i)]);
        return result;
    }();
    return names;
}

constexpr int kSurroundFlagCount = KPipelineSettings::kSurroundChannels;

}  // namespace

void KAudioEffectPluginToAudioPluginAdapter::Store(KStorageContext& context) {
    KGuard::Run("KAudioEffectPluginToAudioPluginAdapter::Store", [&] {
        int version = kStateVersion;
        context.Field("Version", version, KStorageContext::LoadDefault{kUnversionedStateVersion});
        if (context.Loading()) m_loadedStateVersion = version;
        StoreChannelMode(context);
        context.Property("ControllersEnabled", m_midi.controllersEnabled.load(),
                         [&](bool on) { m_midi.controllersEnabled = on; }, false);
        context.Property("NoteControllersEnabled", m_midi.noteControllersEnabled.load(),
                         [&](bool on) { m_midi.noteControllersEnabled = on; }, false);
        KStorageContext presetController = context.SubItem("PreviousNextPresetController");
        m_midi.PresetTrigger().Store(presetController);
        context.Property("Bypass", Bypass(), [&](bool on) { SetBypass(on); }, false);
        context.Property("MaxLFOBlockSize", PipelineSettings().maxLFOBlockSize.load(),
                         [&](int size) { SetMaxLFOBlockSize(size); }, KPipelineSettings::kDefaultMaxLFOBlockSize);
        StoreSettings(context);
    });
}

// By name; an unknown name is "Left + Right". Older states carry only the
// surround switch. Surround needs more than two channels to mean anything.
void KAudioEffectPluginToAudioPluginAdapter::StoreChannelMode(KStorageContext& context) {
    int mode = PipelineSettings().channelMode;
    context.EnumerationByName("ChannelMode", mode, StoredChannelModeNames(), KChannelModes::LeftRight);
    StoreSurroundChannels(context);
    context.Legacy("EnableSurroundProcessing", [&](const KString& text) {
        mode = KNumberText::ParseInteger(text, 10) != 0 ? KChannelModes::Surround : KChannelModes::LeftRight;
    });
    if (context.Storing()) return;
    if (mode == KChannelModes::Surround && std::max(HostInputChannels(), HostOutputChannels()) <= 2)
        mode = KChannelModes::LeftRight;
    SetChannelMode(KChannelModes::Clamp(mode));
}

// Eight characters, "1" for a processed channel; written in surround mode
// only. A shorter text sets only the channels it names.
void KAudioEffectPluginToAudioPluginAdapter::StoreSurroundChannels(KStorageContext& context) {
    const auto& enabled = PipelineSettings().surroundChannelsEnabled;
    if (context.Storing()) {
        if (PipelineSettings().channelMode != KChannelModes::Surround) {
            context.Item().RemoveAttribute("SurroundChannelsEnable");
            return;
        }
        char flags[kSurroundFlagCount];
        for (int i = 0; i < kSurroundFlagCount; ++i) flags[i] = enabled[std::size_t(i)] ? '1' : '0';
        context.Item().SetAttribute("SurroundChannelsEnable", KString::FromBytes(flags, kSurroundFlagCount));
        return;
    }
    KString text;
    context.Field("SurroundChannelsEnable", text);
    for (int i = 0; i < std::min(text.Length(), kSurroundFlagCount); ++i) SetSurroundChannelEnabled(i, text[i] != u'0');
}

void KAudioEffectPluginToAudioPluginAdapter::StoreSettings(KStorageContext& context) {
    KGuard::Run("KAudioEffectPluginToAudioPluginAdapter::StoreSettings", [&] {
        {
            KScopedLock plugin(m_pluginLock);
            KScopedLock second(context.Loading() ? &m_secondLock : nullptr);
            KScopedLock third(context.Loading() ? &m_thirdLock : nullptr);
            if (m_effect) m_effect->Store(context);
            StoreStandardSettings(context);
            if (context.Loading()) {
                if (m_effect) m_effect->GetParameters().SetFullUpdatePending(true);
                InitProcessing();
            }
        }
        KAudioPlugin::Store(context);
        if (context.Loading())
            KGuard::Run("KAudioEffectPluginToAudioPluginAdapter::ActualiseAfterLoading", [&] { ActualiseAfterLoading(); });
    });
}

void KAudioEffectPluginToAudioPluginAdapter::StoreStandardSettings(KStorageContext& context) {
    KGuard::Run("KAudioEffectPluginToAudioPluginAdapter::StoreStandardSettings", [&] {
        StoreControllers(context);
        StoreMultiParameters(context);
        StoreActivePresets(context);
        StoreCurrentPresetIndex(context);
    });
}

// A document without the item (an older preset) counts as edited and keeps
// the selection.
void KAudioEffectPluginToAudioPluginAdapter::StoreActivePresets(KStorageContext& context) {
    KGuard::Run("KAudioEffectPluginToAudioPluginAdapter::StoreActivePresets", [&] {
        const bool found = context.OptionalSubItem("ActivePreset", true, [&](KStorageContext& item) {
            item.Field("Edit", m_activePresetEdited, false);
            item.Field("CurrentActivePreset", m_currentActivePreset, 0);
        });
        if (!found) m_activePresetEdited = true;
    });
}

// Always written; the preset manager's current preset, kept by the adapter
// until the preset manager is part of it.
void KAudioEffectPluginToAudioPluginAdapter::StoreCurrentPresetIndex(KStorageContext& context) {
    context.Field("CurrentPresetIndex", m_currentPresetIndex);
}

void KAudioEffectPluginToAudioPluginAdapter::ActualiseAfterLoading() {
    for (int i = 0; i < GetParameterCount(); ++i) NeedUpdateEditor(i);
    ReportLatencyIfChanged();
}
