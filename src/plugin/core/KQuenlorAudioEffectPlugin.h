#pragma once
#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"

// The maker's plug-in: the adapter plus the product identity (and, around
// it, the editor frame and the active presets).
class KQuenlorAudioEffectPlugin : public KAudioEffectPluginToAudioPluginAdapter {
public:
    void Initialize(const KString& productName, const KString& makerName, KPluginEntry effectEntry);

    const KString& ProductName() const noexcept { return m_productName; }
    const KString& MakerName() const noexcept { return m_makerName; }

private:
    KString m_productName;
    KString m_makerName;
};
