#include "plugin/core/KAudioPlugin.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "plugin/core/KAutomationUpdateThread.h"

KAudioPlugin::KAudioPlugin() : m_updateThread(std::make_unique<KAutomationUpdateThread>(*this)) {
    m_updateThread->Start();
}

void KAudioPlugin::StopAutomationUpdateThread() noexcept {
    m_deferredWork.store(nullptr);
    KGuard::Run("KAudioPlugin::StopAutomationUpdateThread", [&] { m_updateThread->Stop(); });
}

KAudioPlugin::~KAudioPlugin() {
    KGuard::Run("KAudioPlugin::~KAudioPlugin", [&] {
        m_updateThread->Stop();
        ClearAutomationAdapters();
    });
}

void KAudioPlugin::AddAutomationAdapter(std::unique_ptr<AutomationAdapter> adapter, bool temporary) {
    adapter->SetFirstIndex(m_parameterCount);
    adapter->SetPlugin(this);
    adapter->SetTemporary(temporary);
    m_parameterCount += adapter->Count();
    m_adapters.push_back(std::move(adapter));
    m_parameterListVersion.fetch_add(1);
    KScopedLock lock(m_editorUpdateLock);
    m_pendingEditorUpdates.reserve(m_adapters.size());
}

void KAudioPlugin::CompleteParameterList() {
    m_editorUpdates = std::make_unique<std::atomic<bool>[]>(std::size_t(m_parameterCount));
    m_markedParameterCount = m_parameterCount;
}

void KAudioPlugin::ClearAutomationAdapters() {
    KGuard::Run("ClearAutomationAdapters", [&] {
        KScopedLock plugin(m_pluginLock);
        {
            KScopedLock lock(m_editorUpdateLock);
            m_pendingEditorUpdates.clear();
        }
        m_adapters.clear();
        m_parameterCount = 0;
        m_markedParameterCount = 0;
        m_parameterListVersion.fetch_add(1);
    });
}

void KAudioPlugin::DestroyTemporaryAutomationAdapters() {
    KGuard::Run("KAudioPlugin::DestroyTemporaryAutomationAdapters", [&] {
        KScopedLock plugin(m_pluginLock);
        {
            KScopedLock lock(m_editorUpdateLock);
            std::erase_if(m_pendingEditorUpdates, [](AutomationAdapter* a) { return a->IsTemporary(); });
        }
        std::erase_if(m_adapters, [](const auto& a) { return a->IsTemporary(); });
        m_parameterCount = m_adapters.empty() ? 0 : m_adapters.back()->FirstIndex() + m_adapters.back()->Count();
        m_parameterListVersion.fetch_add(1);
    });
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

// A value that is not a number is no value: hosts and damaged automation
// can send one, and it must not reach any adapter.
void KAudioPlugin::SetParameter(int index, double value, bool quiet) {
    if (std::isnan(value)) return;
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
    KScopedLock lock(m_lookupLock);
    // Read before building: a change during the build makes the next
    // look-up build again.
    const int version = m_parameterListVersion.load();
    if (!m_lookup || m_lookupVersion != version) {
        m_lookup.emplace(BuildLookup());
        m_lookupVersion = version;
    }
    return m_lookup->Find(id);
}

KParameterLookup KAudioPlugin::BuildLookup() {
    return KParameterLookup(
        m_parameterCount, [this](int index) { return GetParameterID(index); },
        [this](int index) { return GetParameterName(index); });
}

void KAudioPlugin::NeedUpdateEditor(int index) noexcept {
    if (index < 0 || index >= m_parameterCount) return;
    if (m_editorUpdates && index < m_markedParameterCount)
        m_editorUpdates[std::size_t(index)].store(true, std::memory_order_release);
    int local = 0;
    if (AutomationAdapter* adapter = FindAdapter(index, local)) NeedUpdateEditor(*adapter);
}

void KAudioPlugin::NeedUpdateEditor(AutomationAdapter& adapter) noexcept {
    if (adapter.EditorUpdatePending().exchange(true, std::memory_order_acq_rel)) return;
    // Room for every adapter is reserved as they are added: no allocation.
    KScopedLock lock(m_editorUpdateLock);
    m_pendingEditorUpdates.push_back(&adapter);
}

bool KAudioPlugin::TakeEditorUpdate(int index) noexcept {
    if (!m_editorUpdates || index < 0 || index >= m_markedParameterCount) return false;
    return m_editorUpdates[std::size_t(index)].exchange(false, std::memory_order_acq_rel);
}

void KAudioPlugin::TakePendingEditorUpdates(std::vector<AutomationAdapter*>& adapters) {
    adapters.clear();
    adapters.reserve(m_adapters.size());
    KScopedLock lock(m_editorUpdateLock);
    adapters.swap(m_pendingEditorUpdates);
    m_pendingEditorUpdates.reserve(adapters.capacity());  // the adapters' room, kept from before
    for (AutomationAdapter* adapter : adapters) adapter->EditorUpdatePending().store(false, std::memory_order_release);
}

bool KAudioPlugin::HasPendingEditorUpdates() {
    KScopedLock lock(m_editorUpdateLock);
    return !m_pendingEditorUpdates.empty();
}

void KAudioPlugin::SetEditorUpdateTarget(KEditorUpdateTarget* target) noexcept {
    m_editorTarget.store(target);
    WakeAutomationUpdateThread();
}

void KAudioPlugin::WakeAutomationUpdateThread() noexcept { m_updateThread->WakeUp(); }

// Data bytes are 7 bits; a pitch bend's two make one 14-bit value with
// centre 8192, mapped to -1..1 so that both extremes are reached.
void KAudioPlugin::ProcessMIDIMessage(int, const std::uint8_t* bytes) {
    if (!bytes || bytes[0] < 0x80) return;
    const int channel = bytes[0] & 0x0F;
    const int first = bytes[1] & 0x7F, second = bytes[2] & 0x7F;
    switch (bytes[0] & 0xF0) {
        case 0x80: ProcessNote(channel, first, second / 127.0, false); break;
        case 0x90: ProcessNote(channel, first, second / 127.0, second != 0); break;
        case 0xB0: ProcessMIDIController(channel, first, second / 127.0); break;
        case 0xD0: ProcessAftertouch(channel, first / 127.0); break;
        case 0xE0: {
            const int bend = (first | second << 7) - 8192;
            ProcessPitchBend(channel, bend < 0 ? bend / 8192.0 : bend / 8191.0);
            break;
        }
        default: break;
    }
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
    return m_hostInputs <= 0 ? 0 : std::min<int>(m_hostInputs, m_effectInputs);
}

// The channels the effect processes: as many as the channel mode gives it,
// but not more than the host has outputs for (a mono output would otherwise
// be written by two channels).
int KAudioPlugin::GetProcessedInputChannelCount() const { return std::min<int>(m_effectInputs, m_hostOutputs); }

int KAudioPlugin::GetOutputChannelCount() const {
    return m_hostInputs <= 0 ? 0 : std::min<int>(m_hostOutputs, m_effectOutputs);
}

int KAudioPlugin::GetProcessedOutputChannelCount() const { return std::min<int>(m_hostOutputs, m_effectOutputs); }

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
// upsampler reconfiguration sees the factor half-set. The set-up then runs
// with the locks released: it takes them itself, and it tells the host the
// new latency, which a host may answer by calling back into the plug-in.
void KAudioPlugin::SetUpsamplingFactor(int factor) {
    if (factor != 2 && factor != 4 && factor != 8) factor = 1;
    {
        KScopedLock plugin(m_pluginLock);
        KScopedLock second(m_secondLock);
        KScopedLock third(m_thirdLock);
        if (std::exchange(m_settings.upsampling, factor) == factor) return;
    }
    InitProcessing();
}
