#include "plugin/core/KAudioPlugin.h"

#include <algorithm>
#include <cmath>
#include <utility>

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
    WithAdapter("KAudioPlugin::SetParameter", index, false, [&](AutomationAdapter& a, int local) {
        a.SetParameter(local, value, quiet);
        return true;
    });
}

void KAudioPlugin::SetParameterIfChanged(int index, double value, bool quiet) {
    if (std::fabs(value - GetParameter(index)) > 1e-7) SetParameter(index, value, quiet);
}

double KAudioPlugin::GetParameter(int index) {
    return WithAdapter("KAudioPlugin::GetParameter", index, 0.0,
                       [](AutomationAdapter& a, int local) { return a.GetParameter(local); });
}

KString KAudioPlugin::GetParameterName(int index) {
    return WithAdapter("KAudioPlugin::GetParameterName", index, KString(),
                       [](AutomationAdapter& a, int local) { return a.GetParameterName(local); });
}

KString KAudioPlugin::GetParameterID(int index) {
    return WithAdapter("KAudioPlugin::GetParameterID", index, KString(), [](AutomationAdapter& a, int local) {
        KString id = a.GetParameterID(local);
        return id.IsEmpty() ? a.GetParameterName(local) : id;
    });
}

KString KAudioPlugin::GetParameterValueName(int index) {
    return WithAdapter("KAudioPlugin::GetParameterValueName", index, KString(),
                       [](AutomationAdapter& a, int local) { return a.GetParameterValueName(local); });
}

KString KAudioPlugin::GetParameterValueNameFrom01(int index, double value) {
    return WithAdapter("KAudioPlugin::GetParameterValueNameFrom01", index, KString(),
                       [&](AutomationAdapter& a, int local) { return a.GetParameterValueNameFrom01(local, value); });
}

KString KAudioPlugin::GetParameterDefaultValueName(int index) {
    return WithAdapter("KAudioPlugin::GetParameterDefaultValueName", index, KString(),
                       [](AutomationAdapter& a, int local) { return a.GetParameterDefaultValueName(local); });
}

double KAudioPlugin::ParseParameterValueName(int index, const KString& text) {
    return WithAdapter("KAudioPlugin::ParseParameterValueName", index, 0.0,
                       [&](AutomationAdapter& a, int local) { return a.ParseParameterValueName(local, text); });
}

KString KAudioPlugin::GetParameterUnitsName(int index) {
    return WithAdapter("KAudioPlugin::GetParameterUnitsName", index, KString(),
                       [](AutomationAdapter& a, int local) { return a.GetParameterUnitsName(local); });
}

int KAudioPlugin::GetParameterType(int index) {
    return WithAdapter("KAudioPlugin::GetParameterType", index, 1,
                       [](AutomationAdapter& a, int local) { return a.GetParameterType(local); });
}

double KAudioPlugin::GetParameterDefaultValue(int index) {
    return WithAdapter("KAudioPlugin::GetParameterDefaultValue", index, 0.5,
                       [](AutomationAdapter& a, int local) { return a.GetParameterDefaultValue(local); });
}

bool KAudioPlugin::IsParameterReported(int index) {
    return WithAdapter("KAudioPlugin::IsParameterReported", index, false,
                       [](AutomationAdapter& a, int local) { return a.IsReported(local); });
}

int KAudioPlugin::FindParameter(const KString& id) {
    for (int i = 0; i < m_parameterCount; ++i)
        if (GetParameterID(i).EqualsNoCase(id)) return i;
    for (int i = 0; i < m_parameterCount; ++i)
        if (GetParameterName(i).EqualsNoCase(id)) return i;
    return -1;
}

void KAudioPlugin::NeedUpdateEditor(int index) noexcept {
    if (m_editorUpdates && index >= 0 && index < m_parameterCount)
        m_editorUpdates[std::size_t(index)].store(true, std::memory_order_release);
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

// The channels the effect processes: as many as the channel mode gives it,
// but not more than the host has outputs for (a mono output would otherwise
// be written by two channels).
int KAudioPlugin::GetProcessedInputChannelCount() const { return std::min(m_effectInputs, m_hostOutputs); }

int KAudioPlugin::GetOutputChannelCount() const {
    return m_hostInputs <= 0 ? 0 : std::min(m_hostOutputs, m_effectOutputs);
}

int KAudioPlugin::GetProcessedOutputChannelCount() const { return std::min(m_hostOutputs, m_effectOutputs); }

int KAudioPlugin::GetInputBusCount() const { return GetInputChannelCount() / std::max(m_channelsPerBus, 1); }

int KAudioPlugin::GetOutputBusCount() const { return GetOutputChannelCount() / std::max(m_channelsPerBus, 1); }

void KAudioPlugin::ProcessBlock(float** inputs, float** outputs, int sampleCount, bool replacing) noexcept {
    m_pipeline.ProcessBlock(inputs, outputs, sampleCount, replacing);
}

void KAudioPlugin::ResetProcessingState() {
    KScopedLock plugin(m_pluginLock);
    KScopedLock second(m_secondLock);
    KScopedLock third(m_thirdLock);
    m_pipeline.Reset();
}

// After a set-up (and so after a state load) parameter values are taken
// over as they are: gliding from values of before would be audible as a
// sweep at the start of playback.
void KAudioPlugin::InitProcessingPipeline() {
    m_pipeline.Configure();
    RequestInterpolationReset();
}

void KAudioPlugin::UpdatePipelineLatency() { m_pipeline.UpdateLatency(); }

void KAudioPlugin::SendAutomation(int index, double value) noexcept {
    KGuard::Run("KAudioPlugin::SendAutomation", [&] {
        if (m_hostAdapter) m_hostAdapter->SendAutomation(index, value);
    });
}

void KAudioPlugin::GenerateMIDIEvent(int deltaFrames, const std::uint8_t* midiData) noexcept {
    KGuard::Run("KAudioPlugin::GenerateMIDIEvent", [&] {
        if (m_hostAdapter) m_hostAdapter->GenerateMIDIEvent(deltaFrames, midiData);
    });
}

void KAudioPlugin::SetChannelLists(KChannelLists lists) {
    m_channelLists = std::move(lists);
    SetChannelsPerBus(m_channelLists.ChannelsPerBus());
}

void KAudioPlugin::ReportLatencyIfChanged() {
    const int latency = GetLatency();
    if (latency == m_reportedLatency) return;
    m_reportedLatency = latency;
    if (m_hostAdapter) m_hostAdapter->ReportLatency();
}

void KAudioPlugin::AddInterpolatedParameter(int index) {
    int local = 0;
    if (AutomationAdapter* adapter = FindAdapter(index, local)) m_interpolator.Add(adapter, local);
}

bool KAudioPlugin::InterpolationPrepare(int sampleCount) {
    if (!m_interpolator.Prepare(sampleCount)) return false;
    FullParameterUpdate();
    return true;
}

void KAudioPlugin::InterpolationProcess(int sampleCount) {
    m_interpolator.Process(sampleCount);
    FullParameterUpdate();
}

void KAudioPlugin::InterpolationFinish() { m_interpolator.Finish(); }

// Settings that shape the processing set-up change under the plug-in lock
// (so that no set-up reads them half-written) and then run it again.
template <class Change>
void KAudioPlugin::ChangeSetting(Change&& change) {
    {
        KScopedLock plugin(m_pluginLock);
        if (!change()) return;
    }
    InitProcessing();
}

void KAudioPlugin::SetChannelMode(int mode) {
    ChangeSetting([&] { return std::exchange(m_settings.channelMode, mode) != mode; });
}

void KAudioPlugin::SetSurroundChannelEnabled(int channel, bool on) {
    if (channel < 0 || channel >= KPipelineSettings::kSurroundChannels) return;
    ChangeSetting([&] { return std::exchange(m_settings.surroundChannelsEnabled[std::size_t(channel)], on) != on; });
}

void KAudioPlugin::SetHighQualityUpsampling(bool on) {
    ChangeSetting([&] { return std::exchange(m_settings.highQualityUpsampling, on) != on; });
}

void KAudioPlugin::SetLongUpsamplingFilter(bool on) {
    ChangeSetting([&] { return std::exchange(m_settings.longUpsamplingFilter, on) != on; });
}

void KAudioPlugin::SetAutomaticGainControl(bool on) {
    ChangeSetting([&] { return std::exchange(m_settings.automaticGainControl, on) != on; });
}

// The factor changes with all three locks held, so that no block and no
// upsampler reconfiguration sees the factor without its set-up.
void KAudioPlugin::SetUpsamplingFactor(int factor) {
    if (factor != 2 && factor != 4 && factor != 8) factor = 1;
    if (factor == m_settings.upsampling) return;
    KScopedLock plugin(m_pluginLock);
    KScopedLock second(m_secondLock);
    KScopedLock third(m_thirdLock);
    m_settings.upsampling = factor;
    InitProcessing();
}
