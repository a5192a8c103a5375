#pragma once
#include <array>
#include <atomic>
#include <climits>
#include <memory>

#include "plugin/pipeline/KAutomaticGainControl.h"
#include "plugin/pipeline/KChannelStage.h"
#include "plugin/pipeline/KDryDelayLine.h"
#include "plugin/pipeline/KGrowableBuffer.h"
#include "plugin/pipeline/KPipelineSettings.h"
#include "plugin/pipeline/KUpsampler.h"

class KAudioPlugin;

// Everything a host block passes through before and after the effect:
// buffer repair, bypass, automatic gain compensation, upsampling and the
// channel stage.
class KProcessingPipeline {
public:
    static constexpr int kMaxChannels = KChannelStage::kMaxChannels;
    static constexpr int kUnlimited = INT_MAX;

    explicit KProcessingPipeline(KAudioPlugin& plugin);
    ~KProcessingPipeline();

    // Processing initialisation, under the plug-in's three locks: Configure
    // before the effect is initialised (rates, channel mode, channel
    // counts, buffers), UpdateLatency after it (the effect's latency may
    // depend on its rate).
    void Configure();
    void UpdateLatency();

    // The host block: see KAudioPlugin::ProcessBlock.
    void ProcessBlock(float** inputs, float** outputs, int sampleCount, bool replacing) noexcept;

    // Clears delay lines, filter histories and gain compensation.
    void Reset() noexcept;

    void SetSubBlockLimit(int limit) noexcept { m_subBlockLimit = limit; }
    int SubBlockLimit() const noexcept { return m_subBlockLimit; }
    void SetTraits(const KProcessingTraits& traits) noexcept { m_traits = traits; }

    int Latency() const noexcept { return m_latency; }
    double InternalSampleRate() const noexcept { return m_internalRate; }
    int UpsamplingFactor() const noexcept { return m_factor; }
    int ChannelMode() const noexcept { return m_stage.CurrentLayout().mode; }
    const KAutomaticGainControl& GainControl() const noexcept { return m_gainControl; }

private:
    using Pointers = std::array<float*, kMaxChannels>;
    static constexpr int kMaxBuses = kMaxChannels / 2;

    void ProcessChunk(float** inputs, float** outputs, int offset, int sampleCount, bool replacing) noexcept;
    void FixAudioBuffers(float** host, int hostChannels, int offset, int buses, Pointers& fixed,
                         std::array<KGrowableBufferT<float>, kMaxBuses>& scratch, bool zeroed,
                         int sampleCount) noexcept;
    void AddAntiDenormalOffset(int sampleCount) noexcept;
    void Bypass(float** targets, int sampleCount) noexcept;
    void ProcessDirect(float** targets, int sampleCount, bool replacing, double position) noexcept;
    void ProcessUpsampled(float** targets, int sampleCount, double position) noexcept;
    void RunStage(float** inputs, float** outputs, int sampleCount, double position) noexcept;
    void Clamp(float** targets, int sampleCount) noexcept;
    void Silence(float** outputs, int channels, int sampleCount) noexcept;
    double BlockPosition(int offset) const noexcept;

    KAudioPlugin& m_plugin;
    KChannelStage m_stage;
    KProcessingTraits m_traits;
    KAutomaticGainControl m_gainControl;
    bool m_gainControlOn = false;
    KUpsampler::Setup m_upsampling;
    std::array<std::unique_ptr<KUpsampler>, kMaxChannels> m_upsamplers;
    std::array<KDryDelayLine, kMaxChannels> m_bypassLines;
    bool m_wasBypassed = false;

    bool m_ready = false;
    int m_factor = 1;
    double m_internalRate = 44100;
    int m_latency = 0;
    int m_capacity = 0;  // longest host block the buffers hold
    int m_channelsPerBus = 2;
    int m_hostInputs = 0;
    int m_hostOutputs = 0;
    int m_inputBuses = 0;  // host input buses; the stage always has at least one
    int m_stageInputs = 0;
    int m_stageOutputs = 0;
    std::atomic<int> m_silenceChannels{0};  // read without the plug-in lock
    int m_subBlockLimit = kUnlimited;

    Pointers m_inputs{};
    Pointers m_outputs{};
    std::array<KGrowableBufferT<float>, kMaxBuses> m_inputScratch;
    std::array<KGrowableBufferT<float>, kMaxBuses> m_outputScratch;
    std::array<KGrowableBufferT<float>, kMaxChannels> m_inputCopies;
    std::array<KGrowableBufferT<float>, kMaxChannels> m_mixBuffers;
};
