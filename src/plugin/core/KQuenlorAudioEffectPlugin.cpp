#include "plugin/core/KQuenlorAudioEffectPlugin.h"

void KQuenlorAudioEffectPlugin::Initialize(const KString& productName, const KString& makerName,
                                           KPluginEntry effectEntry) {
    m_productName = productName;
    m_makerName = makerName;
    KAudioEffectPluginToAudioPluginAdapter::Initialize(effectEntry);
}
