#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"

#include <algorithm>
#include <cmath>

#include "foundation/core/Guard.h"
#include "foundation/core/KException.h"
#include "foundation/text/KFormatter.h"
#include "foundation/xml/KStorageContext.h"
#include "plugin/midi/KMIDISlotParameter.h"
#include "plugin/pipeline/KChannelModes.h"
#include "plugin/parameters/ParameterTypes.h"
#include "plugin/parameters/SignalGeneratorParameters.h"

namespace {

std::unique_ptr<KAudioPlugin::AutomationAdapter> MakeRecordParameter(KAudioPlugin* owner, KPlugin* effect,
                                                                     int index) {
    switch (effect->Record(index).type) {
        case KParameterType::Float: return std::make_unique<ParameterFloatT<ParameterBase>>(owner, effect, index);
        case KParameterType::Integer: return std::make_unique<ParameterIntT<ParameterBase>>(owner, effect, index);
        case KParameterType::List: return std::make_unique<ParameterEnumT<ParameterBase>>(owner, effect, index);
        case KParameterType::OnOff: return std::make_unique<ParameterBoolT<ParameterBase>>(owner, effect, index);
        case KParameterType::GroupHeader:
            return std::make_unique<ParameterGroupT<ParameterBase>>(owner, effect, index);
        default: return nullptr;  // records without a value are not host parameters
    }
}

}  // namespace

KAudioEffectPluginToAudioPluginAdapter::KAudioEffectPluginToAudioPluginAdapter() = default;

KAudioEffectPluginToAudioPluginAdapter::~KAudioEffectPluginToAudioPluginAdapter() {
    KGuard::Run("KAudioEffectPluginToAudioPluginAdapter::~KAudioEffectPluginToAudioPluginAdapter",
                [&] { DestroyEffect(); });
}

void KAudioEffectPluginToAudioPluginAdapter::DestroyEffect() noexcept {
    if (!m_effect) return;
    KPluginCallBlock block;
    m_effectEntry(m_effect, KPluginOpcode::Destroy, block.words);
    m_effect = nullptr;
}

void KAudioEffectPluginToAudioPluginAdapter::Initialize(KPluginEntry effectEntry) {
    m_effectEntry = effectEntry;
    KPluginCallBlock block;
    void* created = effectEntry ? reinterpret_cast<void*>(effectEntry(nullptr, KPluginOpcode::Create, block.words))
                                : nullptr;
    if (!created) throw KException("Error creating plugin.");
    m_effect = static_cast<KAudioEffectPlugin*>(static_cast<KPlugin*>(created));
    m_effect->SetEntryPoint(this, &EffectCallback);
    m_effect->SetProcessingLock(&m_effectLock);
    m_effect->GetParameters().processingSettings = &m_processingSettings;
    AddRecordParameters();
    SetChannelLists(KChannelLists(m_effectInputBuses, m_surroundLayout));
    AddMIDIParameters();
    CompleteParameterList();
}

// Host parameter layout, by index (hosts remember parameters by index, so
// new ones only ever go at the end):
//   1. one parameter per valued record of the effect, in record order;
//   2. the six wrappers of each signal generator of the effect;
//   3. the four multiparameters, each owning 1 + 3 * 16 indices: its
//      position, then value, maximal value and range of entry slots 1..16;
//   4. per controller slot 1..32: "Controller n Value", "MaxValue", "Range";
//   5. per note-controller slot 1..32: "Note controller n Value", "MaxValue".
//
// The float records are the continuous parameters, so they are the ones
// whose changes are interpolated across sub-blocks; stepped ones (integers,
// lists, switches) would only move in visible jumps anyway.
void KAudioEffectPluginToAudioPluginAdapter::AddRecordParameters() {
    for (int i = 0; i < m_effect->RecordCount(); ++i) {
        auto parameter = MakeRecordParameter(this, m_effect, i);
        if (!parameter) continue;
        const int index = GetParameterCount();
        AddAutomationAdapter(std::move(parameter));
        if (m_effect->Record(i).type == KParameterType::Float) AddInterpolatedParameter(index);
    }
    // Each generator of the effect follows as its six parameter wrappers.
    const KPluginParameters& parameters = m_effect->GetParameters();
    for (int i = 0; i < parameters.specialItemCount; ++i) {
        const KPluginSpecialItem& item = parameters.specialItems[i];
        if (!item.generator) continue;
        auto& link = m_generatorLinks.emplace_back(std::make_unique<KSignalGeneratorLink>(*this));
        for (auto& wrapper : MakeSignalGeneratorParameters(this, *item.generator, item.name, link.get()))
            AddAutomationAdapter(std::move(wrapper));
        item.generator->SetOwner(link.get());
    }
    for (auto& adapter : m_multiParameters.MakeAutomationAdapters()) AddAutomationAdapter(std::move(adapter));
}

void KAudioEffectPluginToAudioPluginAdapter::AddMIDIParameters() {
    auto add = [&](const KString& label, int slot, const char* field, std::atomic<double>& value, double fallback) {
        const KString name = KFormatter("{0} {1} {2}") << label << slot + 1 << field;
        AddAutomationAdapter(std::make_unique<KMIDISlotParameter>(this, name, value, fallback));
    };
    for (int i = 0; i < KMIDIControllers::kSlotCount; ++i) {
        KMIDIControllerSlot& slot = m_midi.Controller(i);
        add("Controller", i, "Value", slot.value, 0.0);
        add("Controller", i, "MaxValue", slot.maxValue, 0.0);
        add("Controller", i, "Range", slot.range, 1.0);
    }
    for (int i = 0; i < KMIDIControllers::kSlotCount; ++i) {
        KMIDINoteControllerSlot& slot = m_midi.NoteController(i);
        add("Note controller", i, "Value", slot.minimum, 0.0);
        add("Note controller", i, "MaxValue", slot.maximum, 1.0);
    }
}

void KAudioEffectPluginToAudioPluginAdapter::StoreControllers(KStorageContext& context) {
    KGuard::Run("KAudioEffectPluginToAudioPluginAdapter::StoreControllers", [&] {
        m_midi.StoreControllers(context);
        m_midi.StoreNoteControllers(context);
    });
}

void KAudioEffectPluginToAudioPluginAdapter::ProcessNote(int channel, int note, double velocity, bool on) {
    KGuard::Run("KAudioEffectPluginToAudioPluginAdapter::ProcessNote", [&] {
        KAudioPlugin::ProcessNote(channel, note, velocity, on);
        m_midi.OnNote(channel, note, velocity, on, pitchBend);
    });
}

// Controller values and bends can come from a host as parameter values
// (VST 3): one that is no number is dropped, so that it cannot stick in the
// MIDI state or the preset trigger, and one beyond the ends counts as the
// end, so that no slot drives its target outside the slot's range.
void KAudioEffectPluginToAudioPluginAdapter::ProcessAftertouch(int channel, double value) {
    if (std::isnan(value)) return;
    value = std::clamp(value, 0.0, 1.0);
    KGuard::Run("KAudioEffectPluginToAudioPluginAdapter::ProcessAftertouch", [&] {
        KAudioPlugin::ProcessAftertouch(channel, value);
        m_midi.OnController(channel, KMIDIControllerNumber::kAftertouch, value);
    });
}

void KAudioEffectPluginToAudioPluginAdapter::ProcessPitchBend(int channel, double bend) {
    if (std::isnan(bend)) return;
    bend = std::clamp(bend, -1.0, 1.0);
    KGuard::Run("KAudioEffectPluginToAudioPluginAdapter::ProcessPitchBend", [&] {
        KAudioPlugin::ProcessPitchBend(channel, bend);
        m_midi.OnPitchBend(channel, bend);
    });
}

void KAudioEffectPluginToAudioPluginAdapter::ProcessMIDIController(int channel, int number, double value) {
    if (std::isnan(value)) return;
    value = std::clamp(value, 0.0, 1.0);
    KGuard::Run("KAudioEffectPluginToAudioPluginAdapter::ProcessMIDIController", [&] {
        KAudioPlugin::ProcessMIDIController(channel, number, value);
        m_midi.OnController(channel, number, value);
    });
}

// The effect calls back when the presentation of its parameters changed
// (an oscillator was switched on or off): every record is redrawn.
std::intptr_t KAudioEffectPluginToAudioPluginAdapter::EffectCallback(void* instance, std::int32_t opcode,
                                                                     std::int64_t*) {
    auto* self = static_cast<KAudioEffectPluginToAudioPluginAdapter*>(instance);
    if (opcode != KPluginOpcode::GetParameters || !self) return -1;
    for (int i = 0; i < self->GetParameterCount(); ++i) self->NeedUpdateEditor(i);
    return 0;
}

void KAudioEffectPluginToAudioPluginAdapter::InitProcessing() {
    KGuard::Run("KAudioEffectPluginToAudioPluginAdapter::InitProcessing", [&] {
        {
            KScopedLock plugin(m_pluginLock);
            KScopedLock second(m_secondLock);
            KScopedLock third(m_thirdLock);
            KGuard::Run("KAudioEffectPluginToAudioPluginAdapter::InitProcessing_LockedPart",
                        [&] { InitProcessingLockedPart(); });
        }
        KGuard::Run("KAudioEffectPluginToAudioPluginAdapter::InitProcessing_UnLockedPart",
                    [&] { InitProcessingUnlockedPart(); });
        ReportLatencyIfChanged();
        if (m_editorNotifications.load(std::memory_order_acquire))
            m_editorWorkQueued.store(true, std::memory_order_release);
    });
}

void KAudioEffectPluginToAudioPluginAdapter::RunEditorNotifications() noexcept {
    if (m_editorWorkQueued.exchange(false, std::memory_order_acq_rel))
        KGuard::Run("KAudioEffectPluginToAudioPluginAdapter::InitProcessingGUI", [&] { InitProcessingGUI(); });
}

void KAudioEffectPluginToAudioPluginAdapter::InitProcessingGUI() {
    if (m_effect) m_effect->InitProcessingGUI();
    for (int i = 0; i < GetParameterCount(); ++i) NeedUpdateEditor(i);
}

void KAudioEffectPluginToAudioPluginAdapter::InitProcessingLockedPart() {
    InitProcessingPipeline();
    m_context.processedSamples = 0;
    m_midSide = KChannelModes::Describe(ChannelModeInForce()).midSide;
    if (m_effect) {
        m_effect->InitProcessing(GetProcessedInputChannelCount(), InternalSampleRate());
        m_effect->OnParametersChanged();
        m_effect->SnapParameters();
    }
    PassSampleRate(InternalSampleRate());
    // Ramps are stepped by host blocks, so they run at the host's rate.
    m_multiParameters.SetSampleRate(SampleRate());
    UpdatePipelineLatency();
    m_processingActive.store(true, std::memory_order_release);
}

void KAudioEffectPluginToAudioPluginAdapter::Process(float** inputs, float** outputs, int sampleCount) {
    KGuard::Run("KAudioEffectPluginToAudioPluginAdapter::Process", [&] {
        if (!m_effect) return;
        KPluginParameters& parameters = m_effect->GetParameters();
        if (parameters.FullUpdatePending()) {
            parameters.SetFullUpdatePending(false);
            m_effect->OnParametersChanged();
        }
        m_effect->Process(&m_context, inputs, outputs, sampleCount);
        m_context.processedSamples += sampleCount;
    });
}

void KAudioEffectPluginToAudioPluginAdapter::FullParameterUpdate() {
    if (m_effect) m_effect->OnParametersChanged();
}

void KAudioEffectPluginToAudioPluginAdapter::PrepareForProcessing(int sampleCount) {
    KGuard::Run("KAudioEffectPluginToAudioPluginAdapter::PrepareForProcessing",
                [&] { m_multiParameters.PrepareForProcessing(sampleCount); });
}

void KAudioEffectPluginToAudioPluginAdapter::StoreMultiParameters(KStorageContext& context) {
    KGuard::Run("KAudioEffectPluginToAudioPluginAdapter::StoreMultiParameters",
                [&] { m_multiParameters.Store(context); });
}

void KAudioEffectPluginToAudioPluginAdapter::BeginBlock(float**, float**, int sampleCount, bool) {
    PrepareForProcessing(sampleCount);
    SetSubBlockLimit(MultiparametersNeedBlockwiseUpdates() ? PipelineSettings().maxLFOBlockSize.load()
                                                           : KProcessingPipeline::kUnlimited);
}

void KAudioEffectPluginToAudioPluginAdapter::ProcessUpdate() {
    KGuard::Run("KAudioEffectPluginToAudioPluginAdapter::ProcessUpdate", [&] {
        if (m_effect && ProcessingActive()) m_effect->ProcessUpdate();
    });
}

int KAudioEffectPluginToAudioPluginAdapter::GetInputChannelCount() const {
    return std::max(1, KAudioPlugin::GetInputChannelCount());
}

int KAudioEffectPluginToAudioPluginAdapter::GetProcessedInputChannelCount() const {
    return std::max(1, KAudioPlugin::GetProcessedInputChannelCount());
}

int KAudioEffectPluginToAudioPluginAdapter::GetOutputChannelCount() const {
    return std::max(1, KAudioPlugin::GetOutputChannelCount());
}

int KAudioEffectPluginToAudioPluginAdapter::GetProcessedOutputChannelCount() const {
    return std::max(1, KAudioPlugin::GetProcessedOutputChannelCount());
}

int KAudioEffectPluginToAudioPluginAdapter::GetInputBusCount() const {
    return std::clamp(KAudioPlugin::GetInputBusCount(), 1, m_effectInputBuses);
}

int KAudioEffectPluginToAudioPluginAdapter::GetOutputBusCount() const {
    return std::clamp(KAudioPlugin::GetOutputBusCount(), 1, 1);
}

int KAudioEffectPluginToAudioPluginAdapter::GetEffectLatency() { return m_effect ? m_effect->Latency() : 0; }

bool KAudioEffectPluginToAudioPluginAdapter::ApplyOutputGainCorrection(double factor) {
    if (!m_effect) return false;
    for (int i = 0; i < m_effect->RecordCount(); ++i) {
        KParameterRecord& record = m_effect->Record(i);
        if (!record.HasFlag(KParameterFlag::OutputGain)) continue;
        const double decibels = 20 * std::log10(factor);
        switch (record.type) {
            case KParameterType::Float: record.SetFloatValue(record.floating.value + decibels); break;
            case KParameterType::Integer: record.SetIntegerValue(record.integer.value + std::llround(decibels)); break;
            case KParameterType::List: record.SetListIndex(record.list.selected + std::llround(decibels)); break;
            default: break;
        }
        NeedUpdateEditor(i);
        return true;
    }
    return false;
}

void KAudioEffectPluginToAudioPluginAdapter::OnPresetLoaded() {
    for (int i = 0; i < GetParameterCount(); ++i) NeedUpdateEditor(i);
    if (KAudioPluginAdapter* host = HostAdapter())
        KGuard::Run("KAudioPluginAdapter::ParametersChanged", [&] { host->ParametersChanged(); });
}
