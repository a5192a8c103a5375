#include "plugin/KAudioPlugin.h"

#include <algorithm>
#include <cmath>

KAudioPlugin::~KAudioPlugin() = default;

void KAudioPlugin::AddAutomationAdapter(std::unique_ptr<AutomationAdapter> adapter) {
    adapter->SetFirstIndex(m_parameterCount);
    m_parameterCount += adapter->Count();
    m_adapters.push_back(std::move(adapter));
}

void KAudioPlugin::CompleteParameterList() {
    m_editorUpdates = std::make_unique<std::atomic<bool>[]>(std::size_t(m_parameterCount));
}

KAudioPlugin::AutomationAdapter* KAudioPlugin::FindAdapter(int index, int& localIndex) const noexcept {
    if (m_adapters.empty()) return nullptr;
    // The last adapter whose first index is not above `index`; indices below
    // the first adapter go to the first one.
    auto after = std::upper_bound(m_adapters.begin(), m_adapters.end(), index,
                                  [](int i, const auto& adapter) { return i < adapter->FirstIndex(); });
    AutomationAdapter* adapter = after == m_adapters.begin() ? m_adapters.front().get() : (after - 1)->get();
    localIndex = index - adapter->FirstIndex();
    return adapter;
}

int KAudioPlugin::GetParameterCount() const noexcept { return m_parameterCount; }

void KAudioPlugin::SetParameter(int index, double value, bool quiet) {
    int local = 0;
    if (AutomationAdapter* adapter = FindAdapter(index, local)) adapter->SetParameter(local, value, quiet);
}

void KAudioPlugin::SetParameterIfChanged(int index, double value, bool quiet) {
    if (std::fabs(value - GetParameter(index)) > 1e-7) SetParameter(index, value, quiet);
}

double KAudioPlugin::GetParameter(int index) {
    int local = 0;
    AutomationAdapter* adapter = FindAdapter(index, local);
    return adapter ? adapter->GetParameter(local) : 0.0;
}

KString KAudioPlugin::GetParameterName(int index) {
    int local = 0;
    AutomationAdapter* adapter = FindAdapter(index, local);
    return adapter ? adapter->GetParameterName(local) : KString();
}

KString KAudioPlugin::GetParameterID(int index) {
    int local = 0;
    AutomationAdapter* adapter = FindAdapter(index, local);
    if (!adapter) return KString();
    KString id = adapter->GetParameterID(local);
    return id.IsEmpty() ? adapter->GetParameterName(local) : id;
}

KString KAudioPlugin::GetParameterValueName(int index) {
    int local = 0;
    AutomationAdapter* adapter = FindAdapter(index, local);
    return adapter ? adapter->GetParameterValueName(local) : KString();
}

KString KAudioPlugin::GetParameterValueNameFrom01(int index, double value) {
    int local = 0;
    AutomationAdapter* adapter = FindAdapter(index, local);
    return adapter ? adapter->GetParameterValueNameFrom01(local, value) : KString();
}

double KAudioPlugin::ParseParameterValueName(int index, const KString& text) {
    int local = 0;
    AutomationAdapter* adapter = FindAdapter(index, local);
    return adapter ? adapter->ParseParameterValueName(local, text) : 0.0;
}

KString KAudioPlugin::GetParameterUnitsName(int index) {
    int local = 0;
    AutomationAdapter* adapter = FindAdapter(index, local);
    return adapter ? adapter->GetParameterUnitsName(local) : KString();
}

int KAudioPlugin::GetParameterType(int index) {
    int local = 0;
    AutomationAdapter* adapter = FindAdapter(index, local);
    return adapter ? adapter->GetParameterType(local) : 1;
}

double KAudioPlugin::GetParameterDefaultValue(int index) {
    int local = 0;
    AutomationAdapter* adapter = FindAdapter(index, local);
    return adapter ? adapter->GetParameterDefaultValue(local) : 0.5;
}

bool KAudioPlugin::IsParameterReported(int index) {
    int local = 0;
    AutomationAdapter* adapter = FindAdapter(index, local);
    return adapter && adapter->IsReported(local);
}

int KAudioPlugin::FindParameter(const KString& id) {
    for (int i = 0; i < m_parameterCount; ++i)
        if (GetParameterID(i).EqualsNoCase(id)) return i;
    for (int i = 0; i < m_parameterCount; ++i)
        if (GetParameterName(i).EqualsNoCase(id)) return i;
    return -1;
}

void KAudioPlugin::NeedUpdateEditor(int index) noexcept {
    if (m_editorUpdates && index >= 0 && index < m_parameterCount) m_editorUpdates[std::size_t(index)].store(true, std::memory_order_release);
}

bool KAudioPlugin::TakeEditorUpdate(int index) noexcept {
    if (!m_editorUpdates || index < 0 || index >= m_parameterCount) return false;
    return m_editorUpdates[std::size_t(index)].exchange(false, std::memory_order_acq_rel);
}

void KAudioPlugin::SetHostChannels(int inputs, int outputs) noexcept {
    m_hostInputs = inputs;
    m_hostOutputs = outputs;
}

void KAudioPlugin::SetEffectChannels(int inputs, int outputs) noexcept {
    m_effectInputs = inputs;
    m_effectOutputs = outputs;
}

int KAudioPlugin::GetInputChannelCount() const {
    return m_hostInputs <= 0 ? 0 : std::min(m_hostInputs, m_effectInputs);
}

int KAudioPlugin::GetProcessedInputChannelCount() const { return GetInputChannelCount(); }

int KAudioPlugin::GetOutputChannelCount() const {
    return m_hostInputs <= 0 ? 0 : std::min(m_hostOutputs, m_effectOutputs);
}

int KAudioPlugin::GetProcessedOutputChannelCount() const { return std::min(m_hostOutputs, m_effectOutputs); }

int KAudioPlugin::GetInputBusCount() const { return GetInputChannelCount() / std::max(m_channelsPerBus, 1); }

int KAudioPlugin::GetOutputBusCount() const { return GetOutputChannelCount() / std::max(m_channelsPerBus, 1); }
