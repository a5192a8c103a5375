#pragma once
#include <cmath>
#include <numbers>
#include <cstdint>
#include <vector>

#include "foundation/text/KFormatter.h"
#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"
#include "plugin/parameters/KDisplayFunctions.h"
#include "support/RecordsEffect.h"
#include "support/SilentHost.h"

namespace multiparameter_test {

// Three plain 0..1 float records the multiparameters can drive (host
// indices 0 to 2, position = value), a decibel output gain (index 3) and a
// gain the effect multiplies its input by (so that the output shows what
// was set). It remembers the length of every piece it processes.
class TargetEffect final : public RecordsEffect<4> {
public:
    static constexpr int kA = 0, kB = 1, kC = 2, kOutputGain = 3;

    TargetEffect() {
        m_records[kA] = KParameterRecord::Float("A", "a", 0, 1, 0, KDisplayFunctions::Percent);
        m_records[kB] = KParameterRecord::Float("B", "b", 0, 1, 0);
        m_records[kC] = KParameterRecord::Float("C", "c", 0, 1, 0);
        m_records[kOutputGain] = KParameterRecord::Float("Output gain", "gain", -24, 24, 0);
        m_records[kOutputGain].SetFlag(KParameterFlag::OutputGain, true);
        pieces.reserve(4096);
    }

    int InitProcessing(int channels, double) override {
        m_channels = channels;
        return 0;
    }
    void Process(KProcessingContext*, float** inputs, float** outputs, int sampleCount) override {
        if (pieces.size() < pieces.capacity()) pieces.push_back(sampleCount);
        const float gain = float(m_records[kA].WorkingFloat());
        for (int c = 0; c < m_channels; ++c)
            for (int s = 0; s < sampleCount; ++s) outputs[c][s] = inputs[c][s] * gain;
    }
    void Skip(int) override {}

    std::vector<int> pieces;

private:
    int m_channels = 2;
};

// What the plug-in sends to its host.
class RecordingHost final : public SilentHost {
public:
    void SendAutomation(std::int32_t index, double value) override { sent.push_back({index, value}); }

    std::vector<std::pair<int, double>> sent;
};

// The adapter around TargetEffect, set up at 48 kHz.
struct Plugin {
    static constexpr double kRate = 48000;

    Plugin() {
        adapter.Initialize(&TestEffectEntry<TargetEffect>);
        adapter.SetSampleRate(kRate);
        adapter.SetMaxBlockSize(1024);
        adapter.InitProcessing();
    }

    TargetEffect& Effect() { return *static_cast<TargetEffect*>(adapter.Effect()); }
    double Value(int record) { return adapter.Effect()->Record(record).floating.value; }
    KMultiParameter& Multi(int index) { return adapter.MultiParameters()[index]; }
    // Host index of a multiparameter's position.
    int PositionIndex(int multi) { return adapter.FindParameter(KFormatter("MultiParameter{0}") << multi + 1); }

    // One stereo host block of constant input 1.
    void ProcessBlock(int length) {
        left.assign(std::size_t(length), 1.0f);
        right.assign(std::size_t(length), 1.0f);
        float* channels[2] = {left.data(), right.data()};
        adapter.ProcessBlock(channels, channels, length, true);
    }

    // One stereo host block of a continuing 1 kHz sine (audible material
    // for the loudness measurement, which ignores constant input).
    void PlaySine(int length) {
        left.resize(std::size_t(length));
        for (float& sample : left) sample = float(0.5 * std::sin(2 * std::numbers::pi * 1000 * double(m_played++) / kRate));
        right = left;
        float* channels[2] = {left.data(), right.data()};
        adapter.ProcessBlock(channels, channels, length, true);
    }

    KAudioEffectPluginToAudioPluginAdapter adapter;
    std::vector<float> left, right;

private:
    std::int64_t m_played = 0;
};

}  // namespace multiparameter_test
