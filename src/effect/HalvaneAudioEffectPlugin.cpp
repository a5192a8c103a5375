#include "effect/HalvaneAudioEffectPlugin.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

#include "foundation/core/Guard.h"
#include "foundation/text/KFormatter.h"
#include "foundation/xml/KStorageContext.h"
#include "foundation/text/NumberText.h"
#include "foundation/core/Random.h"
#include "plugin/parameters/KDisplayFunctions.h"

namespace {

// The constant added to every input sample keeps the arithmetic out of
// denormal numbers; it is the single-precision 1e-15 widened.
constexpr double kAntiDenormal = static_cast<double>(1e-15f);

const double kMinimumFrequencyLog = std::log10(20.0);
const double kMaximumFrequencyLog = std::log10(20000.0);
const double kDefaultFrequencyLog = std::log10(50.0);

double WithoutWholeCycles(double phase) noexcept { return phase - std::trunc(phase); }

}  // namespace

HalvaneAudioEffectPlugin::HalvaneAudioEffectPlugin() {
    DeclareRecords();
    for (int i = 0; i < kOscillators; ++i) {
        KPluginSpecialItem& item = m_specialItems[std::size_t(i)];
        item.name = KFormatter("Oscillator {0} shape") << i + 1;
        item.state = 0;
        item.generator = &m_generators[std::size_t(i)];
        item.randomDivisor = 1;
        item.editorControl = &m_editorControls[std::size_t(i)];
    }
    StartBackgroundBuilds();
    m_parameters.records = m_records.data();
    m_parameters.recordCount = kRecordCount;
    m_parameters.specialItems = m_specialItems.data();
    m_parameters.specialItemCount = kOscillators;
}

HalvaneAudioEffectPlugin::~HalvaneAudioEffectPlugin() = default;

// Waveforms are rebuilt off the audio thread, which only swaps finished
// tables in. Where no thread can be made, the audio thread builds them at
// the start of a block as a generator does on its own.
void HalvaneAudioEffectPlugin::StartBackgroundBuilds() noexcept {
    for (KSignalGenerator& generator : m_generators)
        KGuard::Run("HalvaneAudioEffectPlugin::StartBackgroundBuilds", [&] { generator.BuildInBackground(); });
}

void HalvaneAudioEffectPlugin::DeclareRecords() {
    KParameterRecord& modulate = m_records[kModulate];
    modulate = KParameterRecord::OnOff("Modulate oscillators", "modulate", false);
    modulate.description =
        "When <name>Modulate checkbox</name> is enabled, source signal is modulated by signal compounding from all "
        "enabled oscillators. Otherwise each oscillator modifies the signal separately.";
    for (int i = 0; i < kOscillators; ++i) DeclareOscillatorRecords(i);
}

void HalvaneAudioEffectPlugin::DeclareOscillatorRecords(int oscillator) {
    KParameterRecord& header = m_records[std::size_t(RecordOf(oscillator, kHeader))];
    header = KParameterRecord::GroupHeader(KFormatter("Oscillator {0}") << oscillator + 1);
    header.description = KString("<name>")
                             .Append(header.name)
                             .Append(" panel</name> provides parameters of an oscillator used by ring modulator.");

    KParameterRecord& enable = m_records[std::size_t(RecordOf(oscillator, kEnable))];
    enable = KParameterRecord::OnOff("Enable", KFormatter("enable{0}") << oscillator, oscillator == 0);
    enable.description = "<name>Enable checkbox</name> enables or disables the oscillator.";
    enable.SetFlag(KParameterFlag::Switch, true);

    KParameterRecord& depth = m_records[std::size_t(RecordOf(oscillator, kDepth))];
    depth = KParameterRecord::Float("Depth", KFormatter("depth{0}") << oscillator, 0, 1, 1,
                                    KDisplayFunctions::Percent);
    depth.description =
        "<name>Depth</name> defines how powerful the oscillator is, thus this is the ratio between dry and wet "
        "signals.";
    depth.SetFlag(KParameterFlag::FullUpdate, false);  // Process reads it directly

    KParameterRecord& frequency = m_records[std::size_t(RecordOf(oscillator, kFrequency))];
    frequency = KParameterRecord::Float("Frequency", KFormatter("frequency{0}") << oscillator, kMinimumFrequencyLog,
                                        kMaximumFrequencyLog, kDefaultFrequencyLog, KDisplayFunctions::LogFrequency);
    frequency.description = "<name>Frequency</name> defines speed of the tremolo low frequency oscilltor.";

    KParameterRecord& phase = m_records[std::size_t(RecordOf(oscillator, kPhase))];
    phase = KParameterRecord::Float("Phase", KFormatter("phase{0}") << oscillator, 0, 1, 0.1,
                                    KDisplayFunctions::Degrees);
    phase.description =
        "<name>Phase</name> defines phase difference between channels, so this is quite a cool way to accomplish "
        "some kind of stereo expansion.";
    phase.SetFlag(KParameterFlag::FullUpdate, false);
    phase.SetFlag(KParameterFlag::Reported, true);
}

int HalvaneAudioEffectPlugin::InitProcessing(int channels, double sampleRate) {
    m_channels = std::clamp(channels, 0, kMaxChannels);
    m_sampleRate = sampleRate;
    // Without a processing lock each generator falls back to its own.
    for (KSignalGenerator& generator : m_generators) generator.SetLock(ProcessingLock());
    // Set-up comes before a run of blocks (playback, a render): waveforms
    // edited before it are built now, so that the run starts with them.
    for (KSignalGenerator& generator : m_generators)
        if (generator.IsRebuildPending()) generator.Rebuild();
    return 0;
}

void HalvaneAudioEffectPlugin::OnParametersChanged() {
    if (!(m_sampleRate > 0)) return;
    for (int i = 0; i < kOscillators; ++i)
        m_increment[std::size_t(i)] = std::pow(10.0, Record(RecordOf(i, kFrequency)).WorkingFloat()) / m_sampleRate;
    if (UpdateDisabledMarks()) {
        KPluginCallBlock block;
        CallEntry(KPluginOpcode::GetParameters, block.words);
    }
}

bool HalvaneAudioEffectPlugin::UpdateDisabledMarks() noexcept {
    bool changed = false;
    for (int i = 0; i < kOscillators; ++i) {
        const bool enabled = IsEnabled(i);
        for (OscillatorRecord which : {kDepth, kFrequency, kPhase}) {
            KParameterRecord& record = Record(RecordOf(i, which));
            const bool marked = (record.flags2 & KParameterFlag2::OwnerEnabled) != 0;
            if (marked == enabled) continue;
            record.flags2 = enabled ? (record.flags2 | KParameterFlag2::OwnerEnabled)
                                    : (record.flags2 & ~KParameterFlag2::OwnerEnabled);
            changed = true;
        }
    }
    return changed;
}

void HalvaneAudioEffectPlugin::DestroyControls(void*) { m_editorControls.fill(nullptr); }

HalvaneAudioEffectPlugin::DepthGlide HalvaneAudioEffectPlugin::GlideDepth(int oscillator, int sampleCount) noexcept {
    KParameterRecord::FloatFields& depth = Record(RecordOf(oscillator, kDepth)).floating;
    const double target = depth.value;
    const double current = depth.running;
    depth.running = target;  // the next block starts from the target
    if (std::fabs(target - current) < 1e-50 || sampleCount <= 0) return {target, 0};
    return {current, (target - current) / sampleCount};
}

void HalvaneAudioEffectPlugin::Process(KProcessingContext*, float** inputs, float** outputs, int sampleCount) {
    sampleCount = std::max(sampleCount, 0);
    KScopedLock hold(ProcessingLock());
    const bool first = m_generators[0].UpdateIfChanged();
    const bool second = m_generators[1].UpdateIfChanged();
    const bool waveformChanged = first || second;

    // The first pass reads the input and writes the output, which saves
    // copying the input over first; later passes work in place.
    const float* const* sources = inputs;
    if (Record(kModulate).onOff.value != 0 && IsEnabled(0) && IsEnabled(1)) {
        ProcessCompound(sources, outputs, sampleCount);
    } else {
        for (int i = 0; i < kOscillators; ++i) {
            if (!IsEnabled(i)) continue;
            ProcessOscillator(i, sources, outputs, sampleCount);
            sources = outputs;
        }
        if (sources == inputs) CopyInputs(inputs, outputs, sampleCount);
    }
    RunJumpSmoothers(waveformChanged, outputs, sampleCount);
}

void HalvaneAudioEffectPlugin::CopyInputs(float** inputs, float** outputs, int sampleCount) noexcept {
    for (int c = 0; c < m_channels; ++c)
        if (inputs[c] != outputs[c]) std::memmove(outputs[c], inputs[c], sizeof(float) * std::size_t(sampleCount));
}

// The sample loops are compiled once for each usual channel count, so that
// the channel loop inside them unrolls, and once for any count.
template <class Pass>
void HalvaneAudioEffectPlugin::ForChannelCount(Pass pass) noexcept {
    switch (m_channels) {
        case 1: return pass(std::integral_constant<int, 1>());
        case 2: return pass(std::integral_constant<int, 2>());
        default: return pass(m_channels);
    }
}

void HalvaneAudioEffectPlugin::ProcessCompound(const float* const* sources, float** outputs, int sampleCount) noexcept {
    ForChannelCount([&](auto channels) { ProcessCompound(channels, sources, outputs, sampleCount); });
}

template <class ChannelCount>
void HalvaneAudioEffectPlugin::ProcessCompound(ChannelCount channels, const float* const* sources, float** outputs,
                                               int sampleCount) noexcept {
    const double offset1 = Record(RecordOf(0, kPhase)).WorkingFloat();
    const double offset2 = Record(RecordOf(1, kPhase)).WorkingFloat();
    const DepthGlide glide1 = GlideDepth(0, sampleCount);
    const DepthGlide glide2 = GlideDepth(1, sampleCount);
    double depth = (glide2.depth + glide1.depth) * 0.5;
    const double depthStep = (glide2.step + glide1.step) * 0.5;
    // The tables stay the same for the whole block.
    const float* table1 = m_generators[0].Table();
    const float* table2 = m_generators[1].Table();
    double phase1 = m_phase[0];
    double phase2 = m_phase[1];

    for (int s = 0; s < sampleCount; ++s) {
        double p1 = phase1;
        double p2 = phase2;
        phase1 += m_increment[0];
        phase2 += m_increment[1];
        for (int c = 0; c < int(channels); ++c) {
            const double g = KSignalGenerator::Read(table2, p2) + KSignalGenerator::Read(table1, p1);
            p1 += offset1;
            p2 += offset2;
            const double x = double(sources[c][s]) + kAntiDenormal;
            outputs[c][s] = static_cast<float>(x * g * depth + (1 - depth) * x);
        }
        depth += depthStep;
    }
    m_phase[0] = WithoutWholeCycles(phase1);
    m_phase[1] = WithoutWholeCycles(phase2);
}

void HalvaneAudioEffectPlugin::ProcessOscillator(int oscillator, const float* const* sources, float** outputs,
                                                 int sampleCount) noexcept {
    ForChannelCount([&](auto channels) { ProcessOscillator(channels, oscillator, sources, outputs, sampleCount); });
}

template <class ChannelCount>
void HalvaneAudioEffectPlugin::ProcessOscillator(ChannelCount channels, int oscillator, const float* const* sources,
                                                 float** outputs, int sampleCount) noexcept {
    const std::size_t i = std::size_t(oscillator);
    DepthGlide glide = GlideDepth(oscillator, sampleCount);
    const double offset = Record(RecordOf(oscillator, kPhase)).WorkingFloat();
    const float* table = m_generators[i].Table();  // the same for the whole block
    double phase = m_phase[i];
    const double increment = m_increment[i];

    for (int s = 0; s < sampleCount; ++s) {
        double p = phase;
        phase += increment;
        for (int c = 0; c < int(channels); ++c) {
            const double g = KSignalGenerator::Read(table, p) * glide.depth;
            p += offset;
            const double x = double(sources[c][s]) + kAntiDenormal;
            outputs[c][s] = static_cast<float>((1 - glide.depth) * x + x * g);
        }
        glide.depth += glide.step;
    }
    m_phase[i] = WithoutWholeCycles(phase);
}

void HalvaneAudioEffectPlugin::RunJumpSmoothers(bool waveformChanged, float** outputs, int sampleCount) noexcept {
    const KProcessingSettings* settings = m_parameters.processingSettings;
    if (settings && !settings->smoothing) return;
    // Before the first block there is no sound to fade from: a state loaded
    // into a fresh instance starts as it is.
    if (waveformChanged && m_producedOutput)
        for (KJumpSmoother& smoother : m_smoothers) smoother.Trigger();
    if (sampleCount <= 0) return;
    for (int c = 0; c < m_channels; ++c) m_smoothers[std::size_t(c)].Run(outputs[c], sampleCount);
    m_producedOutput = true;
}

void HalvaneAudioEffectPlugin::Skip(int sampleCount) {
    for (int i = 0; i < kOscillators; ++i)
        m_phase[std::size_t(i)] = WithoutWholeCycles(m_phase[std::size_t(i)] + sampleCount * m_increment[std::size_t(i)]);
}

KString HalvaneAudioEffectPlugin::ShapeKey(int oscillator) { return KFormatter("Shape{0}") << oscillator; }

// Storing: the records, then the waveforms. Loading: the waveforms first,
// each outside the processing lock (a generator takes it only to swap its
// settings in, so a block never waits for a file or a rebuild), then the
// records under it.
bool HalvaneAudioEffectPlugin::Store(KStorageContext& context) {
    if (context.Storing()) {
        const bool result = KAudioEffectPlugin::Store(context);
        StoreWaveforms(context);
        return result;
    }
    StoreWaveforms(context);
    KScopedLock hold(ProcessingLock());
    return KAudioEffectPlugin::Store(context);
}

void HalvaneAudioEffectPlugin::StoreWaveforms(KStorageContext& context) {
    for (int i = 0; i < kOscillators; ++i) {
        KSignalGenerator& generator = m_generators[std::size_t(i)];
        const KString key = ShapeKey(i);
        if (context.OptionalSubItem(key, true, [&](KStorageContext& shape) { generator.Store(shape); })) continue;
        // States from before waveforms were stored as sub-items carry only
        // the shape position, as an attribute of the same name.
        using Control = KSignalGenerator::Control;
        context.Legacy(key, [&](const KString& text) {
            generator.Set(Control::EnvelopeDepth, 0);
            generator.Set(Control::ShapePosition, KNumberText::ParseDouble(text));
        });
    }
}

void HalvaneAudioEffectPlugin::Randomize() {
    KAudioEffectPlugin::Randomize();
    for (int i = 0; i < kOscillators; ++i) {
        KParameterRecord& frequency = Record(RecordOf(i, kFrequency));
        const double r = KRandom::NextUnit();
        frequency.SetFloatValue(frequency.floating.minimum + (frequency.floating.maximum - frequency.floating.minimum) * r * r);
    }
    // The phase increments follow the new frequencies before the next block.
    m_parameters.SetFullUpdatePending(true);
}
