#include "plugin/pipeline/KProcessingPipeline.h"

#include <algorithm>
#include <cstring>

#include "foundation/core/KDenormalsAsZero.h"
#include "plugin/core/KAudioPlugin.h"
#include "plugin/pipeline/KChannelModes.h"

namespace {

// Keeps the effect's arithmetic out of denormal numbers.
constexpr float kAntiDenormal = 1e-15f;

int ValidFactor(int factor) noexcept { return factor == 2 || factor == 4 || factor == 8 ? factor : 1; }

bool RepeatsPrevious(float* const* channels, int channel) noexcept {
    return channel > 0 && channels[channel] == channels[channel - 1];
}

void Zero(float* samples, int sampleCount) noexcept {
    std::memset(samples, 0, sizeof(float) * std::size_t(sampleCount));
}

// Internal buffers standing in for host channels repeat each other where
// the host channels do.
void MirrorRepeats(float* const* host, float** internal, int channels) noexcept {
    for (int c = 1; c < channels; ++c)
        if (host[c] == host[c - 1]) internal[c] = internal[c - 1];
}

// Holds the plug-in lock taken by a successful try.
class KTriedLock {
public:
    explicit KTriedLock(KLock& lock) noexcept : m_lock(lock.TryAcquire() ? &lock : nullptr) {}
    ~KTriedLock() {
        if (m_lock) m_lock->Release();
    }
    KTriedLock(const KTriedLock&) = delete;
    KTriedLock& operator=(const KTriedLock&) = delete;
    bool Held() const noexcept { return m_lock != nullptr; }

private:
    KLock* m_lock;
};

}  // namespace

KProcessingPipeline::KProcessingPipeline(KAudioPlugin& plugin) : m_plugin(plugin), m_stage(plugin) {}

KProcessingPipeline::~KProcessingPipeline() = default;

void KProcessingPipeline::Configure() {
    const KPipelineSettings& settings = m_plugin.PipelineSettings();
    m_factor = ValidFactor(settings.upsampling);
    m_internalRate = m_factor * m_plugin.SampleRate();
    m_capacity = std::max(m_plugin.MaxBlockSize(), 1);

    KChannelStage::Layout layout;
    layout.mode = KChannelModes::Clamp(settings.channelMode);
    layout.channelsPerBus = std::clamp(m_plugin.ChannelsPerBus(), 2, KPipelineSettings::kSurroundChannels);
    layout.surroundEnabled = settings.surroundChannelsEnabled;
    layout.sampleRate = m_internalRate;
    m_channelsPerBus = layout.channelsPerBus;
    m_hostInputs = std::max(m_plugin.HostInputChannels(), 0);
    m_hostOutputs = std::max(m_plugin.HostOutputChannels(), 0);

    m_inputBuses = m_hostInputs > 0 ? std::clamp(m_plugin.GetInputBusCount(), 1, kMaxBuses) : 0;
    layout.inputBuses = std::max(m_inputBuses, 1);
    layout.outputBuses = std::clamp(m_plugin.GetOutputBusCount(), 1, layout.inputBuses);
    // Without a host input the stage reads silent scratch buffers, so it
    // always has at least as many inputs as outputs.
    m_stageInputs = std::min(layout.inputBuses * m_channelsPerBus, kMaxChannels);
    m_stageOutputs = std::min(layout.outputBuses * m_channelsPerBus, m_stageInputs);
    layout.inputChannels = m_stageInputs;
    layout.outputChannels = m_stageOutputs;
    layout.hostChannels = m_hostOutputs;
    m_stage.Configure(layout);
    m_silenceChannels.store(std::min(m_hostOutputs, m_stageOutputs), std::memory_order_relaxed);

    // The effect's channels per bus follow the mode; in surround mode only
    // the enabled channels reach it.
    const KChannelModes::Description& mode = KChannelModes::Describe(layout.mode);
    const int effectChannels = layout.mode == KChannelModes::Surround
                                   ? KChannelStage::EnabledSurroundChannels(layout)
                                   : mode.effectChannels;
    m_plugin.SetEffectChannels(effectChannels, mode.outputChannels);

    const std::size_t length = std::size_t(m_capacity);
    for (int bus = 0; bus < layout.inputBuses; ++bus) m_inputScratch[std::size_t(bus)].Reserve(length);
    for (int bus = 0; bus < layout.outputBuses; ++bus) m_outputScratch[std::size_t(bus)].Reserve(length);
    for (int c = 0; c < m_stageInputs; ++c) m_inputCopies[std::size_t(c)].Reserve(length);
    for (int c = 0; c < m_stageOutputs; ++c) m_mixBuffers[std::size_t(c)].Reserve(length);

    m_upsampling = KUpsampler::Setup{m_factor, settings.highQualityUpsampling, settings.longUpsamplingFilter,
                                     m_plugin.SampleRate()};
    // Upsamplers are made here rather than on their first block, which
    // must not allocate.
    if (m_factor > 1)
        for (int c = 0; c < m_stageInputs; ++c) {
            auto& upsampler = m_upsamplers[std::size_t(c)];
            if (!upsampler) upsampler = std::make_unique<KUpsampler>();
            upsampler->Configure(m_upsampling, m_capacity);
        }
}

void KProcessingPipeline::UpdateLatency() {
    const int effectLatency = std::max(m_plugin.GetEffectLatency(), 0);
    m_stage.SetDryDelay(effectLatency);
    m_latency = effectLatency / m_factor + KUpsampler::Latency(m_upsampling);
    for (KDryDelayLine& line : m_bypassLines) line.SetDelay(m_latency);
    m_gainControlOn = m_plugin.PipelineSettings().automaticGainControl;
    if (m_gainControlOn) m_gainControl.Initialize(m_plugin.SampleRate(), m_latency);
    m_ready = true;
}

void KProcessingPipeline::Reset() noexcept {
    m_stage.ClearDelayLines();
    for (KDryDelayLine& line : m_bypassLines) line.Clear();
    for (auto& upsampler : m_upsamplers)
        if (upsampler) upsampler->Reset();
    if (m_gainControlOn) m_gainControl.Initialize(m_plugin.SampleRate(), m_latency);
}

// A block that meets a running processing set-up (or arrives before the
// first one) is skipped; replacing hosts then get silence rather than
// whatever their buffers held. Trying the lock rather than raising keeps the
// skip free of allocations.
void KProcessingPipeline::ProcessBlock(float** inputs, float** outputs, int sampleCount, bool replacing) noexcept {
    if (!outputs || sampleCount <= 0) return;
    // The effect and the filters may compute numbers below the normal
    // range (a waveform near zero times a quiet input); none reaches the
    // host, and none slows the arithmetic on the way.
    KDenormalsAsZero denormals;
    KTriedLock plugin(m_plugin.PluginLock());
    if (!plugin.Held()) {
        if (replacing) Silence(outputs, m_silenceChannels.load(std::memory_order_relaxed), sampleCount);
        return;
    }
    KScopedLock third(m_plugin.ThirdLock());
    if (!m_ready) {
        if (replacing) Silence(outputs, std::min(m_plugin.HostOutputChannels(), kMaxChannels), sampleCount);
        return;
    }
    // A host that sends more than it announced is served in pieces that
    // fit the buffers.
    for (int offset = 0; offset < sampleCount; offset += m_capacity)
        ProcessChunk(inputs, outputs, offset, std::min(m_capacity, sampleCount - offset), replacing);
}

void KProcessingPipeline::Silence(float** outputs, int channels, int sampleCount) noexcept {
    for (int c = 0; c < channels; ++c)
        if (outputs[c]) Zero(outputs[c], sampleCount);
}

void KProcessingPipeline::ProcessChunk(float** inputs, float** outputs, int offset, int sampleCount,
                                       bool replacing) noexcept {
    FixAudioBuffers(inputs, m_hostInputs, offset, m_stageInputs / m_channelsPerBus, m_inputs, m_inputScratch, true,
                    sampleCount);
    FixAudioBuffers(outputs, m_hostOutputs, offset, m_stageOutputs / m_channelsPerBus, m_outputs, m_outputScratch,
                    false, sampleCount);
    AddAntiDenormalOffset(sampleCount);

    // Not replacing: the block is rendered into internal buffers and added
    // at the end, so that clamping and gain compensation see only it.
    Pointers mix;
    if (!replacing) {
        for (int c = 0; c < m_stageOutputs; ++c) mix[std::size_t(c)] = m_mixBuffers[std::size_t(c)].Data();
        MirrorRepeats(m_outputs.data(), mix.data(), m_stageOutputs);
    }
    float** targets = replacing ? m_outputs.data() : mix.data();

    if (m_plugin.PipelineSettings().bypass.load(std::memory_order_relaxed)) {
        Bypass(targets, sampleCount);
    } else {
        m_wasBypassed = false;
        m_plugin.BeginBlock(m_inputs.data(), m_outputs.data(), sampleCount, replacing);
        if (m_gainControlOn) m_gainControl.MeasureInput(m_inputs.data(), m_inputBuses > 0 ? m_stageInputs : 0, sampleCount);
        const double position = BlockPosition(offset);
        if (m_factor < 2) ProcessDirect(targets, sampleCount, replacing, position);
        else ProcessUpsampled(targets, sampleCount, position);
        if (m_gainControlOn) m_gainControl.Correct(targets, m_stageOutputs, sampleCount);
        m_plugin.EndBlock(m_inputs.data(), m_outputs.data(), sampleCount, replacing);
    }
    if (replacing) return;
    for (int c = 0; c < m_stageOutputs; ++c) {
        if (RepeatsPrevious(m_outputs.data(), c)) continue;
        float* out = m_outputs[std::size_t(c)];
        const float* add = mix[std::size_t(c)];
        for (int i = 0; i < sampleCount; ++i) out[i] += add[i];
    }
}

// A bus whose first channel is missing gets a scratch buffer for all its
// channels (silent for inputs); a later missing channel repeats the one
// before it, so a mono host bus feeds both channels of the pair. Host
// arrays are read only up to the channel counts the host announced.
void KProcessingPipeline::FixAudioBuffers(float** host, int hostChannels, int offset, int buses, Pointers& fixed,
                                          std::array<KGrowableBufferT<float>, kMaxBuses>& scratch, bool zeroed,
                                          int sampleCount) noexcept {
    auto hostChannel = [&](int c) -> float* {
        float* p = host && c < hostChannels ? host[c] : nullptr;
        return p ? p + offset : nullptr;
    };
    for (int bus = 0; bus < buses; ++bus) {
        const int first = bus * m_channelsPerBus;
        float* start = hostChannel(first);
        if (!start) {
            start = scratch[std::size_t(bus)].Data();
            if (zeroed) Zero(start, sampleCount);
        }
        fixed[std::size_t(first)] = start;
        for (int c = first + 1; c < first + m_channelsPerBus; ++c) {
            float* p = start == scratch[std::size_t(bus)].Data() ? nullptr : hostChannel(c);
            fixed[std::size_t(c)] = p ? p : fixed[std::size_t(c - 1)];
        }
    }
}

void KProcessingPipeline::AddAntiDenormalOffset(int sampleCount) noexcept {
    for (int c = 0; c < m_stageInputs; ++c) {
        if (RepeatsPrevious(m_inputs.data(), c)) continue;
        float* samples = m_inputs[std::size_t(c)];
        for (int i = 0; i < sampleCount; ++i) samples[i] += kAntiDenormal;
    }
}

// The input, delayed by the plug-in's latency so that switching the bypass
// keeps the timing. Entering bypass starts the delay from silence rather
// than from what it held the last time.
void KProcessingPipeline::Bypass(float** targets, int sampleCount) noexcept {
    if (!m_wasBypassed)
        for (KDryDelayLine& line : m_bypassLines) line.Clear();
    m_wasBypassed = true;
    for (int c = 0; c < m_stageOutputs; ++c) {
        if (RepeatsPrevious(targets, c)) continue;
        if (m_inputBuses == 0) Zero(targets[c], sampleCount);
        else m_bypassLines[std::size_t(c)].Process(m_inputs[std::size_t(c)], targets[c], sampleCount);
    }
}

double KProcessingPipeline::BlockPosition(int offset) const noexcept {
    const KTransportInfo& transport = m_plugin.Transport();
    if (!transport.playing) return 0;
    return transport.songPosition + offset * transport.tempo / (m_plugin.SampleRate() * 60);
}

void KProcessingPipeline::ProcessDirect(float** targets, int sampleCount, bool replacing, double position) noexcept {
    float** stageInputs = m_inputs.data();
    Pointers copies;
    // The stage codes its inputs in place; with in-place host buffers that
    // would be the outputs the effect writes.
    const bool coding = m_traits.copyInputs || m_stage.CurrentLayout().mode != KChannelModes::LeftRight;
    if (replacing && coding && m_inputs[0] == targets[0]) {
        for (int c = 0; c < m_stageInputs; ++c) {
            copies[std::size_t(c)] = m_inputCopies[std::size_t(c)].Data();
            std::memcpy(copies[std::size_t(c)], m_inputs[std::size_t(c)], sizeof(float) * std::size_t(sampleCount));
        }
        MirrorRepeats(m_inputs.data(), copies.data(), m_stageInputs);
        stageInputs = copies.data();
    }
    RunStage(stageInputs, targets, sampleCount, position);
}

void KProcessingPipeline::ProcessUpsampled(float** targets, int sampleCount, double position) noexcept {
    Pointers inputs, outputs;
    for (int c = 0; c < m_stageInputs; ++c) {
        KUpsampler& upsampler = *m_upsamplers[std::size_t(c)];
        if (!(upsampler.CurrentSetup() == m_upsampling) || upsampler.MaxBlockSize() < m_capacity)
            upsampler.Configure(m_upsampling, m_capacity);  // only after a set-up that missed it
        if (!RepeatsPrevious(m_inputs.data(), c)) upsampler.Upsample(m_inputs[std::size_t(c)], sampleCount);
        inputs[std::size_t(c)] = upsampler.Input();
        if (c < m_stageOutputs) outputs[std::size_t(c)] = upsampler.Output();
    }
    MirrorRepeats(m_inputs.data(), inputs.data(), m_stageInputs);
    MirrorRepeats(targets, outputs.data(), m_stageOutputs);

    RunStage(inputs.data(), outputs.data(), sampleCount * m_factor, position);

    for (int c = 0; c < m_stageOutputs; ++c)
        if (!RepeatsPrevious(targets, c)) m_upsamplers[std::size_t(c)]->Downsample(targets[c], sampleCount);
    Clamp(targets, sampleCount);
}

void KProcessingPipeline::RunStage(float** inputs, float** outputs, int sampleCount, double position) noexcept {
    if (m_traits.addsIntoOutputs)
        for (int c = 0; c < m_stageOutputs; ++c)
            if (!RepeatsPrevious(outputs, c)) Zero(outputs[c], sampleCount);
    m_stage.Run(inputs, outputs, sampleCount, position, m_subBlockLimit,
                m_plugin.PipelineSettings().maxLFOBlockSize.load(std::memory_order_relaxed), m_traits.mixInputs);
}

// Filters can overshoot what the effect produced; the plug-in may cap it.
void KProcessingPipeline::Clamp(float** targets, int sampleCount) noexcept {
    const double limit = m_plugin.GetOutputLimit();
    if (limit < 0) return;
    const float l = float(limit);
    for (int c = 0; c < m_stageOutputs; ++c) {
        if (RepeatsPrevious(targets, c)) continue;
        for (int i = 0; i < sampleCount; ++i) targets[c][i] = std::clamp(targets[c][i], -l, l);
    }
}
