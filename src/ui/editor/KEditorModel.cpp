#include "ui/editor/KEditorModel.h"

#include "effect/HalvaneAudioEffectPlugin.h"
#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"

HalvaneAudioEffectPlugin* KEditorModel::Effect() const noexcept {
    return dynamic_cast<HalvaneAudioEffectPlugin*>(m_plugin.Effect());
}

KScopedLock KEditorModel::HoldEffect() const {
    return KScopedLock(m_plugin.Effect() ? m_plugin.Effect()->ProcessingLock() : nullptr);
}

int KEditorModel::ParameterCount() const noexcept { return m_plugin.GetParameterCount(); }
int KEditorModel::Find(const KString& id) const { return m_plugin.FindParameter(id); }
KString KEditorModel::Name(int index) const { return m_plugin.GetParameterName(index); }

double KEditorModel::Value(int index) const {
    const KScopedLock hold = HoldEffect();
    return m_plugin.GetParameter(index);
}

KString KEditorModel::Text(int index) const {
    const KScopedLock hold = HoldEffect();
    return m_plugin.GetParameterValueName(index);
}

double KEditorModel::Default(int index) const { return m_plugin.GetParameterDefaultValue(index); }
int KEditorModel::Type(int index) const { return m_plugin.GetParameterType(index); }

double KEditorModel::Parse(int index, const KString& text) const {
    return m_plugin.ParseParameterValueName(index, text);
}

void KEditorModel::BeginGesture(int index) const {
    if (KAudioPluginAdapter* host = m_plugin.HostAdapter()) host->BeginEdit(index);
}

void KEditorModel::Change(int index, double value) const {
    {
        const KScopedLock hold = HoldEffect();
        m_plugin.SetParameter(index, value);
    }
    // The host hears the value the parameter took, which may be quantised.
    m_plugin.SendAutomation(index, Value(index));
}

void KEditorModel::EndGesture(int index) const {
    if (KAudioPluginAdapter* host = m_plugin.HostAdapter()) host->EndEdit(index);
}
