#include "plugin/core/KQuenlorAudioEffectPlugin.h"

#include "foundation/core/Guard.h"
#include "foundation/xml/KStorageContext.h"

void KQuenlorAudioEffectPlugin::Initialize(const KString& productName, const KString& makerName,
                                           KPluginEntry effectEntry) {
    m_productName = productName;
    m_makerName = makerName;
    KAudioEffectPluginToAudioPluginAdapter::Initialize(effectEntry);
    SetDeferredWork(&RunDeferredPresetWork);
    SetCurrentPresetIndex(-1);
    m_activePresets.SetCurrent(0);
    KStorageContext first(m_activePresets.Slot(0), true);
    StoreSettings(first);
    m_activePresets.FillFromFirst();
}

// Loading holds the plug-in lock throughout (the adapter takes it again,
// re-entrantly, with the processing locks), so that a block sees either
// the old state or the new one, upsampling included; a block that meets
// the load is skipped. The slot lock keeps a slot switch from landing
// between the slot copies and the settings they go with.
void KQuenlorAudioEffectPlugin::Store(KStorageContext& context) {
    KScopedLock slots(m_activePresets.Lock());
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

void KQuenlorAudioEffectPlugin::RunDeferredPresetWork(KAudioPlugin& plugin) {
    auto& self = static_cast<KQuenlorAudioEffectPlugin&>(plugin);
    self.ApplyActivePresetRequest();
    self.StepPendingPreset();
}

void KQuenlorAudioEffectPlugin::StepPendingPreset() {
    const int step = m_pendingPresetStep.exchange(0, std::memory_order_relaxed);
    KPresetNavigator* navigator = m_presetNavigator.load();
    if (step != 0 && navigator) navigator->StepPreset(step);
}

void KQuenlorAudioEffectPlugin::RequestActivePreset(int slot) noexcept {
    if (m_activePresets.Request(slot)) WakeAutomationUpdateThread();
}

void KQuenlorAudioEffectPlugin::ToggleActivePresetAB() noexcept {
    const int previous = m_activePresets.Previous();
    if (previous >= 0) RequestActivePreset(previous);
}

// The plug-in lock is held from storing the old slot to loading the new
// one, so every block runs with one slot's settings whole. The request is
// read under the slot lock, and the host hears of the switch before that
// lock is let go, so a caller who finds the switch made by the update
// thread finds it whole, the host told.
void KQuenlorAudioEffectPlugin::ApplyActivePresetRequest() {
    KScopedLock slots(m_activePresets.Lock());
    const int target = m_activePresets.Requested();
    if (target == m_activePresets.Current()) return;
    {
        KScopedLock plugin(m_pluginLock);
        StoreIntoCurrentSlot();
        m_activePresets.SwitchedTo(target);
        KStorageContext load(m_activePresets.Slot(target), false);
        StoreSettings(load);
    }
    OnPresetLoaded();
}

std::vector<std::unique_ptr<KXMLItem>> KQuenlorAudioEffectPlugin::CaptureActivePresets(int count) {
    std::vector<std::unique_ptr<KXMLItem>> copies;
    KScopedLock slots(m_activePresets.Lock());
    StoreIntoCurrentSlot();
    for (int i = 0; i < count && i < KActivePresetSlots::kCount; ++i) {
        auto& copy = copies.emplace_back(std::make_unique<KXMLItem>());
        KXMLItem::DeepCopy(*copy, m_activePresets.Slot(i));
    }
    return copies;
}

void KQuenlorAudioEffectPlugin::SelectActivePresetKeepingSettings(int slot) {
    if (slot < 0 || slot >= KActivePresetSlots::kCount) return;
    KScopedLock slots(m_activePresets.Lock());
    if (slot != m_activePresets.Current()) m_activePresets.Select(slot);
}

// Under the slot lock: the item is emptied and refilled with the settings.
void KQuenlorAudioEffectPlugin::StoreIntoCurrentSlot() {
    KXMLItem& slot = m_activePresets.Slot(m_activePresets.Current());
    slot.Clear();
    KStorageContext store(slot, true);
    StoreSettings(store);
}

KQuenlorAudioEffectPlugin::~KQuenlorAudioEffectPlugin() { StopAutomationUpdateThread(); }
