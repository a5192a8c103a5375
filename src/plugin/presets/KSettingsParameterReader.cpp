#include "plugin/presets/KSettingsParameterReader.h"

#include "foundation/xml/KStorageContext.h"
#include "foundation/xml/KXMLItem.h"

KSettingsParameterReader::KSettingsParameterReader(const KAudioEffectPluginToAudioPluginAdapter& model) {
    m_instance.SetHostChannels(model.HostInputChannels(), model.HostOutputChannels());
    m_instance.Initialize(model.EffectEntry());
}

// A complete settings item sets every field (those it leaves out are at
// their defaults), so one instance reads any number of items alike.
std::vector<double> KSettingsParameterReader::Read(const KXMLItem& settings) {
    KXMLItem copy;
    KXMLItem::DeepCopy(copy, settings);
    KStorageContext load(copy, false);
    m_instance.StoreSettings(load);
    std::vector<double> values(static_cast<std::size_t>(ParameterCount()));
    for (int i = 0; i < ParameterCount(); ++i) values[std::size_t(i)] = m_instance.GetParameter(i);
    return values;
}
