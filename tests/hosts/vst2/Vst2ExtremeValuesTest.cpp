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

namespace Vst2Test {
namespace {

// A host automating the oscillator shape on every small block: each change
// starts a fade that continues what was heard, so fades that follow each
// other faster than they end must not carry the output away from the input
// (unbounded, a sine of amplitude 1 reached 51 in 20000 blocks of 4).
TEST(Vst2ShapeAutomation, EveryBlockKeepsTheOutputWithinFiveTimesTheInput) {
    TestHost host;
    AEffect* effect = host.LoadFromModule();
    ASSERT_NE(effect, nullptr);
    host.Start(44100, 4);
    std::uint32_t state = 1;
    for (int block = 0; block < 20000; ++block) {
        std::vector<float> in[2] = {std::vector<float>(4), std::vector<float>(4)};
        for (int s = 0; s < 4; ++s) in[0][std::size_t(s)] = in[1][std::size_t(s)] = float(std::sin(0.05 * (block * 4 + s)));
        std::vector<float> out[2] = {std::vector<float>(4), std::vector<float>(4)};
        state = state * 214013u + 2531011u;
        effect->setParameter(effect, 11, float((state >> 16) & 0x7FFF) / 32767.0f);  // oscillator 1 shape
        host.Process(in, out);
        // One oscillator gives at most |x|; one fade adds at most 4 times the peak.
        for (const std::vector<float>& channel : out)
            for (float sample : channel) ASSERT_LE(std::fabs(sample), 5.0f) << "block " << block;
    }
}

}  // namespace
}  // namespace Vst2Test
