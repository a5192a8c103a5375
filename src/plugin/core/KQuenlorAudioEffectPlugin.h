#pragma once
#include "plugin/core/KActivePresetSlots.h"
#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"

// The maker's plug-in: the adapter plus the product identity (and, around
// it, the editor frame and the active presets).
class KQuenlorAudioEffectPlugin : public KAudioEffectPluginToAudioPluginAdapter {
public:
    // Sets the adapter up, then fills every active-preset slot with the
    // default settings.
    void Initialize(const KString& productName, const KString& makerName, KPluginEntry effectEntry);

    // The whole state: the upsampling settings and the active-preset slots,
    // then the adapter's fields and settings.
    void Store(KStorageContext& context) override;

    KActivePresetSlots& ActivePresets() noexcept { return m_activePresets; }

    const KString& ProductName() const noexcept { return m_productName; }
    const KString& MakerName() const noexcept { return m_makerName; }

private:
    void StoreUpsampling(KStorageContext& context);

    KActivePresetSlots m_activePresets;
    KString m_productName;
    KString m_makerName;
};
