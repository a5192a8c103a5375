#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "signal/generator/SignalGeneratorTesting.h"
#include "foundation/core/KException.h"
#include "signal/analysis/KAudioSample.h"
#include "signal/analysis/KPitchDetector.h"
#include "signal/analysis/KSampleAnalyser.h"
#include "support/WaveFile.h"

namespace {

constexpr double kRate = 44100;

// A band-limited sawtooth: sum of sin(2 pi k f t) / k below 20 kHz, so
// harmonic k has amplitude 1/k and, as a sine, phase 0.25 cycles.
std::vector<float> Sawtooth(double pitch, int frames) {
    std::vector<float> x(frames);
    for (int j = 0; j < frames; ++j) {
        double sum = 0;
        for (int k = 1; k * pitch < 20000; ++k) sum += std::sin(2 * std::numbers::pi * k * pitch * j / kRate) / k;
        x[j] = float(0.4 * sum);
    }
    return x;
}

std::string TempPath(const std::string& name) {
    const char* root = std::getenv("HALVANE_TEST_TMP");
    std::filesystem::path folder = root ? root : std::filesystem::temp_directory_path().string();
    std::filesystem::create_directories(folder);
    // One name per process: CTest runs the tests in parallel processes.
    return (folder / (std::to_string(::getpid()) + "-" + name)).string();
}

class SawtoothFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        path = TempPath("sawtooth220.wav");
        // The sawtooth in both channels of a stereo file.
        KTestAudio audio{2, int(kRate), {}};
        for (float v : Sawtooth(220, int(1.5 * kRate))) audio.samples.insert(audio.samples.end(), {v, v});
        ASSERT_TRUE(WriteWave(path, audio));
    }
    static inline std::string path;
};

TEST_F(SawtoothFile, AnalysisFindsThePitchAndTheHarmonicSeries) {
    const KAudioSample sample = KAudioSample::Read(KString::FromUTF8(path));
    const KSampleAnalysis analysis = KSampleAnalyser::Analyse(&sample, 0.2);
    ASSERT_TRUE(analysis.analysed);
    EXPECT_NEAR(analysis.pitch, 220, 220 * 0.005);
    EXPECT_NEAR(analysis.pitch, 220, 0.01);  // in fact far closer than required
    EXPECT_TRUE(analysis.message.StartsWith("Sample analyzed successfuly.\nDetected pitch "));
    // The analysis starts at frame 13230 = 66 whole periods: phases stay 0.25.
    for (int k = 0; k < 40; ++k) {
        EXPECT_NEAR(analysis.magnitudes[k], 1.0 / (k + 1), 0.002) << "harmonic " << k + 1;
        EXPECT_NEAR(analysis.phases[k], 0.25, 0.002) << "harmonic " << k + 1;
    }
    // Nothing above the band limit, nothing at or above Nyquist.
    EXPECT_LT(analysis.magnitudes[95], 0.002);  // harmonic 96 = 21120 Hz
    EXPECT_EQ(analysis.magnitudes[255], 0.0f);
}

TEST_F(SawtoothFile, GeneratorTakesTheAnalysedHarmonics) {
    auto g = NewGenerator();
    g->SetMode(KSignalGenerator::Mode::Harmonics);
    g->SetSampleFilePath(KString::FromUTF8(path));
    EXPECT_TRUE(g->AnalysisMessage().StartsWith("Sample analyzed successfuly."));
    g->UpdateIfChanged();  // sample ratio 1: the sample's harmonics alone
    EXPECT_NEAR(g->HarmonicMagnitude(0), 1.0, 1e-6);
    EXPECT_NEAR(g->HarmonicMagnitude(2), 1.0 / 3, 0.002);
    EXPECT_NEAR(g->HarmonicPhase(2), 0.25, 0.002);

    // Half the sample, half generated: the fundamental blends towards a draw.
    g->Set(KSignalGenerator::Control::SampleRatio, 0.5);
    g->UpdateIfChanged();
    EXPECT_NE(g->HarmonicPhase(2), 0.25f);
}

TEST(KSampleAnalyser, UnreadableFileLeavesTheGeneratorAsItWas) {
    auto g = NewGenerator();
    g->SetMode(KSignalGenerator::Mode::Harmonics);
    g->UpdateIfChanged();
    g->SetSampleFilePath(KString::FromUTF8(TempPath("no such file.wav")));
    EXPECT_TRUE(g->AnalysisMessage().StartsWith("Unable to read the sample file "));
    EXPECT_TRUE(g->SampleFilePath().IsEmpty());
    EXPECT_FALSE(g->UpdateIfChanged());
    EXPECT_EQ(g->HarmonicMagnitude(0), 1.0f);
    EXPECT_THROW(KAudioSample::Read(KString::FromUTF8(TempPath("no such file.wav"))), KException);
}

TEST(KSampleAnalyser, ShortOrUnpitchedSamplesAreReported) {
    EXPECT_EQ(KSampleAnalyser::Analyse(nullptr, 0.2).message, KString("Sample not loaded or too short."));
    KAudioSample sample;
    sample.sampleRate = kRate;
    sample.frames = Sawtooth(220, 8000);
    EXPECT_EQ(KSampleAnalyser::Analyse(&sample, 0.2).message, KString("Sample not loaded or too short."));
    sample.frames.assign(30000, 0.0f);
    const KSampleAnalysis silence = KSampleAnalyser::Analyse(&sample, 0.2);
    EXPECT_FALSE(silence.analysed);
    EXPECT_EQ(silence.message, KString("Unable to detect sample pitch."));
}

// A short sample is analysed from its start, over all its frames.
TEST(KSampleAnalyser, ShortSamplesAreAnalysedFromTheStart) {
    KAudioSample sample;
    sample.sampleRate = kRate;
    sample.frames = Sawtooth(330, 10000);
    const KSampleAnalysis analysis = KSampleAnalyser::Analyse(&sample, 0.9);
    ASSERT_TRUE(analysis.analysed);
    EXPECT_NEAR(analysis.pitch, 330, 0.05);
    EXPECT_NEAR(analysis.magnitudes[1], 0.5, 0.005);
}

class PitchDetectorSines : public ::testing::TestWithParam<double> {};

TEST_P(PitchDetectorSines, FindsThePitchOfASine) {
    const double pitch = GetParam();
    std::vector<float> x(48000);
    for (int j = 0; j < 48000; ++j) x[j] = float(0.5 * std::sin(2 * std::numbers::pi * pitch * j / 48000 + 0.3));
    EXPECT_NEAR(KPitchDetector::Detect(x.data(), int(x.size()), 48000), pitch, pitch * 1e-4);
}

INSTANTIATE_TEST_SUITE_P(LowToHigh, PitchDetectorSines, ::testing::Values(41.2, 110.0, 440.0, 1234.5, 3000.0));

TEST(KPitchDetector, NoiseHasNoPitch) {
    std::vector<float> x(44100);
    std::uint32_t state = 1;
    for (float& v : x) {
        state = state * 1664525u + 1013904223u;
        v = float(state >> 8) / float(1 << 24) - 0.5f;
    }
    EXPECT_EQ(KPitchDetector::Detect(x.data(), int(x.size()), kRate), 0.0);
    EXPECT_EQ(KPitchDetector::Detect(nullptr, 100, kRate), 0.0);
}

}  // namespace
