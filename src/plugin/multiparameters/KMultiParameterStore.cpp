#include <algorithm>
#include <cmath>

#include "foundation/xml/KStorageContext.h"
#include "plugin/core/KAudioPlugin.h"
#include "plugin/multiparameters/KMultiParameter.h"
#include "plugin/parameters/KUnitOr.h"

// The stored form of a multiparameter: its settings as attributes, then one
// "Parameter" sub-item per entry, in order.
void KMultiParameter::Store(KStorageContext& context) {
    if (context.Loading()) Reset();
    bool banksMode = false;
    int bankCount = 0;
    {
        KScopedLock lock(m_lock);
        context.Field("Name", m_name, KString());
        context.Field("Enabled", m_enabled, false);
        context.Field("Group", m_group, KString());
        context.Field("Info", m_info, KString());
        int mode = int(m_mode), valueMode = int(m_valueMode);
        context.EnumerationByName("Mode", mode, KMultiParameterTexts::Modes(), 0);
        context.EnumerationByName("ValueMode", valueMode, KMultiParameterTexts::ValueModes(), 0);
        context.Field("SwitchTime", m_switchTime, 1.0);
        context.Field("Value", m_slider);
        context.Field("DefaultValue", m_defaultValue, 0.5);
        m_mode = KMultiParameterMode(std::clamp(mode, 0, int(KMultiParameterMode::Banks)));
        m_valueMode = KMultiParameterValueMode(std::clamp(valueMode, 0, 1));
        banksMode = m_mode == KMultiParameterMode::Banks;
        if (banksMode) context.Field("BankCount", m_bankCount, 4);
        m_bankCount = std::clamp(m_bankCount, kMinBanks, KMultiParameterParameter::kMaxBanks);
        bankCount = m_bankCount;
        if (context.Storing()) {
            while (context.Item().FindSubItem("Parameter")) context.Item().RemoveSubItem("Parameter");
            for (KMultiParameterParameter& entry : m_entries) {
                KStorageContext item(context.Item().AddSubItem("Parameter"), true);
                entry.Store(item, banksMode, bankCount);
            }
            return;
        }
        m_defaultValue = KUnitOr(m_defaultValue, 0.5);
        m_slider = m_alternateSlider = KUnitOr(m_slider, m_defaultValue);
        m_switchTime = std::isfinite(m_switchTime) ? std::max(m_switchTime, kMinSwitchTime) : 1.0;
        ResetRamp();
    }
    std::vector<KMultiParameterParameter> entries = LoadEntries(context, banksMode, bankCount);
    KScopedLock lock(m_lock);
    m_entries.swap(entries);
}

// Built outside the lock (parsing and name look-ups take a while); the
// caller swaps the result in.
std::vector<KMultiParameterParameter> KMultiParameter::LoadEntries(KStorageContext& context, bool banksMode,
                                                                   int bankCount) {
    std::vector<KMultiParameterParameter> entries;
    entries.reserve(kMaxEntries);
    const KXMLItem& item = context.Item();
    for (int i = 0; i < item.SubItemCount() && int(entries.size()) < kMaxEntries; ++i) {
        KXMLItem& sub = item.SubItemAt(i);
        if (!sub.Name().EqualsNoCase("Parameter")) continue;
        KMultiParameterParameter entry;
        KStorageContext entryContext(sub, false);
        entry.Store(entryContext, banksMode, bankCount);
        entry.parameterIndex = entry.parameterName.IsEmpty() ? -1 : m_plugin.FindParameter(entry.parameterName);
        entries.push_back(std::move(entry));
    }
    if (entries.empty()) entries.push_back(KMultiParameterParameter::Unassigned());
    return entries;
}
