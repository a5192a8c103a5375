#pragma once
#include <cmath>
#include <numbers>
#include <vector>

#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"
#include "support/RecordsEffect.h"

namespace pipeline_test {

constexpr double kTwoPi = 2 * std::numbers::pi;

// A linear effect whose channels can be told apart: channel c of what it is
// given is multiplied by gain * (c + 2) (or by the gain alone when
// `sameForAllChannels`). It records what the pipeline hands it.
class ScalingEffect final : public RecordsEffect<2> {
public:
    static constexpr int kGain = 0;  // float record 0..2, default 1
    static constexpr int kSteps = 1; // integer record, not interpolated

    ScalingEffect() {
        m_records[kGain] = KParameterRecord::Float("Gain", "gain", 0, 2, 1);
        m_records[kSteps] = KParameterRecord::Integer("Steps", "steps", 0, 10, 3);
    }

    int InitProcessing(int channels, double sampleRate) override {
        initChannels = channels;
        initRate = sampleRate;
        return 0;
    }
    void Process(KProcessingContext*, float** inputs, float** outputs, int sampleCount) override {
        pieces.push_back(sampleCount);
        workingGains.push_back(m_records[kGain].WorkingFloat());
        for (int c = 0; c < initChannels; ++c) {
            const double factor = m_records[kGain].WorkingFloat() * (sameForAllChannels ? 1 : c + 2);
            for (int s = 0; s < sampleCount; ++s) outputs[c][s] = float(inputs[c][s] * factor);
        }
    }
    int Latency() override { return latency; }
    void Skip(int) override {}

    int initChannels = 0;
    double initRate = 0;
    int latency = 0;
    bool sameForAllChannels = false;
    std::vector<int> pieces;
    std::vector<double> workingGains;
};

// The adapter with a switch for the multiparameters' sub-block seam and a
// record of the transport position of every piece.
class TestPlugin : public KAudioEffectPluginToAudioPluginAdapter {
public:
    // Set up for processing as a bridge does it, unless told otherwise.
    explicit TestPlugin(bool setUp = true) {
        Initialize(&TestEffectEntry<ScalingEffect>);
        if (setUp) InitProcessing();
    }

    ScalingEffect& Effect() { return *static_cast<ScalingEffect*>(KAudioEffectPluginToAudioPluginAdapter::Effect()); }
    void Process(float** inputs, float** outputs, int sampleCount) override {
        piecePositions.push_back(Transport().piecePosition);
        KAudioEffectPluginToAudioPluginAdapter::Process(inputs, outputs, sampleCount);
    }
    void ProcessPassThroughChannel(float*, int sampleCount, bool coded) override {
        passedThrough.push_back({sampleCount, coded});
    }
    double GetOutputLimit() override { return outputLimit; }
    using KAudioPlugin::SetProcessingTraits;

    bool blockwise = false;
    double outputLimit = -1;
    std::vector<double> piecePositions;
    std::vector<std::pair<int, bool>> passedThrough;

protected:
    bool MultiparametersNeedBlockwiseUpdates() override { return blockwise; }
};

// Host channel buffers of one length.
struct HostBuffers {
    HostBuffers(int channels, int length) : data(std::size_t(channels), std::vector<float>(std::size_t(length))) {
        for (auto& channel : data) pointers.push_back(channel.data());
    }
    float** Pointers() { return pointers.data(); }
    std::vector<float>& operator[](int channel) { return data[std::size_t(channel)]; }
    std::vector<std::vector<float>> data;
    std::vector<float*> pointers;
};

// A deterministic signal that differs from channel to channel.
inline float TestSignal(int channel, int sample) {
    return float(0.5 * std::sin(0.01 * (sample + 1) * (channel + 1)) + 0.1 * channel);
}

inline void FillTestSignal(HostBuffers& buffers, int firstSample = 0) {
    for (int c = 0; c < int(buffers.data.size()); ++c)
        for (int s = 0; s < int(buffers[c].size()); ++s) buffers[c][std::size_t(s)] = TestSignal(c, firstSample + s);
}

// Uniform white noise from the shared-generator recurrence (reproducible).
class Noise {
public:
    float Next() {
        m_state = m_state * 214013u + 2531011u;
        return float(int((m_state >> 16) & 0x7FFF) - 16384) / 16384.0f;
    }

private:
    unsigned m_state = 12345;
};

}  // namespace pipeline_test
