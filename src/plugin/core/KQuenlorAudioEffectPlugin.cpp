#include "plugin/core/KQuenlorAudioEffectPlugin.h"

#include "foundation/core/Guard.h"
#include "foundation/xml/KStorageContext.h"

void KQuenlorAudioEffectPlugin::Initialize(const KString& productName, const KString& makerName,
                                           KPluginEntry effectEntry) {
    m_productName = productName;
    m_makerName = makerName;
    KAudioEffectPluginToAudioPluginAdapter::Initialize(effectEntry);
    SetDeferredWork(&StepPendingPreset);
    SetCurrentPresetIndex(-1);
    m_activePresets.SetCurrent(0);
    KStorageContext first(m_activePresets.Slot(0), true);
    StoreSettings(first);
    m_activePresets.FillFromFirst();
}

// Loading holds the plug-in lock throughout (the adapter takes it again,
// re-entrantly, with the processing locks), so that a block sees either
// the old state or the new one, upsampling included; a block that meets
// the load is skipped.
void KQuenlorAudioEffectPlugin::Store(KStorageContext& context) {
    KScopedLock hold(context.Loading() ? &m_pluginLock : nullptr);
    KGuard::Run("Store", [&] {
        StoreUpsampling(context);
        m_activePresets.Store(context);
    });
    KAudioEffectPluginToAudioPluginAdapter::Store(context);
}

void KQuenlorAudioEffectPlugin::StoreUpsampling(KStorageContext& context) {
    const KPipelineSettings& settings = PipelineSettings();
    context.Property("upsampling", settings.upsampling, [&](int factor) { SetUpsamplingFactor(factor); });
    context.Property("hqupsampling", settings.highQualityUpsampling, [&](bool on) { SetHighQualityUpsampling(on); },
                     KStorageContext::LoadDefault{true});
    context.Property("AGC", settings.automaticGainControl, [&](bool on) { SetAutomaticGainControl(on); });
}

void KQuenlorAudioEffectPlugin::SwitchPreset(int step) {
    m_pendingPresetStep.fetch_add(step, std::memory_order_relaxed);
    WakeAutomationUpdateThread();
}

void KQuenlorAudioEffectPlugin::StepPendingPreset(KAudioPlugin& plugin) {
    auto& self = static_cast<KQuenlorAudioEffectPlugin&>(plugin);
    const int step = self.m_pendingPresetStep.exchange(0, std::memory_order_relaxed);
    KPresetNavigator* navigator = self.m_presetNavigator.load();
    if (step != 0 && navigator) navigator->StepPreset(step);
}

KQuenlorAudioEffectPlugin::~KQuenlorAudioEffectPlugin() { StopAutomationUpdateThread(); }
