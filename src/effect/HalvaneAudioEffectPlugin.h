#pragma once
#include <array>

#include "effect/KJumpSmoother.h"
#include "plugin/core/KAudioEffectPlugin.h"
#include "signal/generator/KSignalGenerator.h"

// The ring modulator: multiplies the audio by two oscillators whose
// waveforms come from signal generators.
class HalvaneAudioEffectPlugin final : public KAudioEffectPlugin {
public:
    static constexpr int kOscillators = 2;
    static constexpr int kMaxChannels = 8;

    // Record indices, in host-parameter and stored order.
    enum RecordIndex {
        kModulate = 0,
        kOscillatorBase = 1,  // header, Enable, Depth, Frequency, Phase per oscillator
        kRecordsPerOscillator = 5,
        kRecordCount = 11,
    };
    enum OscillatorRecord { kHeader = 0, kEnable = 1, kDepth = 2, kFrequency = 3, kPhase = 4 };
    static constexpr int RecordOf(int oscillator, OscillatorRecord which) {
        return kOscillatorBase + oscillator * kRecordsPerOscillator + which;
    }

    HalvaneAudioEffectPlugin();
    ~HalvaneAudioEffectPlugin() override;

    void OnParametersChanged() override;
    void DestroyControls(void* container) override;
    bool Store(KStorageContext& context) override;
    void Randomize() override;

    int InitProcessing(int channels, double sampleRate) override;
    void Process(KProcessingContext* context, float** inputs, float** outputs, int sampleCount) override;
    void Skip(int sampleCount) override;

    KSignalGenerator& Generator(int oscillator) noexcept { return m_generators[std::size_t(oscillator)]; }
    double OscillatorPhase(int oscillator) const noexcept { return m_phase[std::size_t(oscillator)]; }
    double PhaseIncrement(int oscillator) const noexcept { return m_increment[std::size_t(oscillator)]; }
    int Channels() const noexcept { return m_channels; }
    double SampleRate() const noexcept { return m_sampleRate; }

private:
    struct DepthGlide {
        double depth;
        double step;
    };

    static KString ShapeKey(int oscillator);
    void StartBackgroundBuilds() noexcept;
    void DeclareRecords();
    void StoreWaveforms(KStorageContext& context);
    void DeclareOscillatorRecords(int oscillator);
    bool IsEnabled(int oscillator) const noexcept { return Record(RecordOf(oscillator, kEnable)).onOff.value != 0; }
    DepthGlide GlideDepth(int oscillator, int sampleCount) noexcept;
    void CopyInputs(float** inputs, float** outputs, int sampleCount) noexcept;
    template <class Pass>
    void ForChannelCount(Pass pass) noexcept;
    void ProcessCompound(const float* const* sources, float** outputs, int sampleCount) noexcept;
    template <class ChannelCount>
    void ProcessCompound(ChannelCount channels, const float* const* sources, float** outputs, int sampleCount) noexcept;
    void ProcessOscillator(int oscillator, const float* const* sources, float** outputs, int sampleCount) noexcept;
    template <class ChannelCount>
    void ProcessOscillator(ChannelCount channels, int oscillator, const float* const* sources, float** outputs,
                           int sampleCount) noexcept;
    void RunJumpSmoothers(bool waveformChanged, float** outputs, int sampleCount) noexcept;
    bool UpdateDisabledMarks() noexcept;

    int m_channels = 0;
    double m_sampleRate = 0;
    std::array<KParameterRecord, kRecordCount> m_records;
    std::array<KPluginSpecialItem, kOscillators> m_specialItems;
    std::array<KSignalGenerator, kOscillators> m_generators;
    std::array<double, kOscillators> m_phase{};
    std::array<double, kOscillators> m_increment{};
    std::array<void*, kOscillators> m_editorControls{};
    std::array<KJumpSmoother, kMaxChannels> m_smoothers;
    bool m_producedOutput = false;
};
