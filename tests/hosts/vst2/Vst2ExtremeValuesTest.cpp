// Values a host may send that lie outside 0..1 or are not numbers at all:
// whatever the parameter, the audio that follows stays finite and within
// what the effect can make of its input.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Vst2TestHost.h"

namespace Vst2Test {
namespace {

// The test signal peaks below 0.6; two summed oscillators at full depth
// double it, a fade of a waveform change adds at most four times the peak.
constexpr float kLargestOutput = 0.6f * 2 * 5;

// Every oscillator parameter (the first eleven: Modulate, then each
// oscillator's header, Enable, Depth, Frequency, Phase) and the shapes'.
constexpr int kOscillatorParameters = 16;

void ExpectSaneAudio(TestHost& host, int parameter, float value) {
    const int frames = 512;
    std::vector<float> in[2] = {TestSignal(frames, 0), TestSignal(frames, 1)};
    std::vector<float> out[2] = {std::vector<float>(frames), std::vector<float>(frames)};
    for (int block = 0; block < 4; ++block) {
        host.Process(in, out);
        for (const std::vector<float>& channel : out) {
            for (float sample : channel) {
                ASSERT_TRUE(std::isfinite(sample)) << "parameter " << parameter << " = " << value;
                ASSERT_LE(std::fabs(sample), kLargestOutput) << "parameter " << parameter << " = " << value;
            }
        }
    }
}

class Vst2ExtremeValues : public ::testing::TestWithParam<float> {};

TEST_P(Vst2ExtremeValues, LeaveTheAudioFiniteAndBounded) {
    for (int parameter = 0; parameter < kOscillatorParameters; ++parameter) {
        TestHost host;
        AEffect* effect = host.LoadFromModule();
        ASSERT_NE(effect, nullptr);
        host.Start(44100, 512);
        // Both oscillators on and summed, so that every parameter counts.
        effect->setParameter(effect, 0, 1.0f);
        effect->setParameter(effect, 7, 1.0f);
        effect->setParameter(effect, parameter, GetParam());
        ExpectSaneAudio(host, parameter, GetParam());
    }
}

INSTANTIATE_TEST_SUITE_P(OutsideTheRange, Vst2ExtremeValues,
                         ::testing::Values(-1.0f, -0.0001f, 1.0001f, 2.0f, std::numeric_limits<float>::quiet_NaN(),
                                           std::numeric_limits<float>::infinity(),
                                           -std::numeric_limits<float>::infinity()));

}  // namespace
}  // namespace Vst2Test
