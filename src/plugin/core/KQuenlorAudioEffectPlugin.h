#pragma once
#include "plugin/core/KActivePresetSlots.h"
#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"
#include "plugin/presets/KPresetNavigator.h"

// The maker's plug-in: the adapter plus the product identity (and, around
// it, the editor frame and the active presets).
class KQuenlorAudioEffectPlugin : public KAudioEffectPluginToAudioPluginAdapter {
public:
    // Sets the adapter up, then fills every active-preset slot with the
    // default settings.
    void Initialize(const KString& productName, const KString& makerName, KPluginEntry effectEntry);
    ~KQuenlorAudioEffectPlugin() override;

    // The whole state: the upsampling settings and the active-preset slots,
    // then the adapter's fields and settings.
    void Store(KStorageContext& context) override;

    KActivePresetSlots& ActivePresets() noexcept { return m_activePresets; }

    // The preset library the MIDI preset trigger steps through (not owned).
    void SetPresetNavigator(KPresetNavigator* navigator) noexcept { m_presetNavigator.store(navigator); }

    const KString& ProductName() const noexcept { return m_productName; }
    const KString& MakerName() const noexcept { return m_makerName; }

protected:
    // From the audio thread: only noted here, loaded by the update thread.
    void SwitchPreset(int step) override;

private:
    static void StepPendingPreset(KAudioPlugin& plugin);
    void StoreUpsampling(KStorageContext& context);
    std::atomic<int> m_pendingPresetStep{0};
    std::atomic<KPresetNavigator*> m_presetNavigator{nullptr};

    KActivePresetSlots m_activePresets;
    KString m_productName;
    KString m_makerName;
};
