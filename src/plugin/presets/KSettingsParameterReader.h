#pragma once
#include <vector>

#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"

class KXMLItem;

// What a stored settings item holds, as the normalised value of every host
// parameter. The item is loaded into a private instance of the same
// effect, so the live plug-in is neither changed nor held up while it is
// read.
class KSettingsParameterReader {
public:
    // Raises "Error creating plugin." when no instance can be made.
    explicit KSettingsParameterReader(const KAudioEffectPluginToAudioPluginAdapter& model);

    int ParameterCount() const noexcept { return m_instance.GetParameterCount(); }
    // The value of each parameter once `settings` (a complete StoreSettings
    // item; a copy is loaded) is applied.
    std::vector<double> Read(const KXMLItem& settings);

private:
    KAudioEffectPluginToAudioPluginAdapter m_instance;
};
