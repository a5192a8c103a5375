// Audio through the module equals what the command-line program renders
// from the same input with the same settings, sample for sample.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "Vst2TestHost.h"
#include "support/WaveFile.h"

namespace Vst2Test {
namespace {

namespace fs = std::filesystem;

constexpr int kRate = 48000;
constexpr int kFrames = 5000;  // nine full blocks of 512 and a short one
constexpr int kBlock = 512;

fs::path TempFolder() {
    const char* base = std::getenv("HALVANE_TEST_TMP");
    fs::path folder = fs::path(base ? base : fs::temp_directory_path().string()) / ("vst2-render-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    return folder;
}

TEST(Vst2Render, ModuleMatchesTheCommandLineRenderer) {
    const std::vector<float> left = TestSignal(kFrames, 0), right = TestSignal(kFrames, 1);
    const fs::path folder = TempFolder();
    KTestAudio input{2, kRate, {}};
    for (int i = 0; i < kFrames; ++i) input.samples.insert(input.samples.end(), {left[i], right[i]});
    ASSERT_TRUE(WriteWave(folder / "in.wav", input));
    // Values whose normalised form a host can pass exactly as a float:
    // depths 50 % and 25 % are 0.5 and 0.25, switches 0 or 1.
    const std::string command = std::string(HALVANE_TOOL) + " render " + (folder / "in.wav").string() + " " +
                                (folder / "out.wav").string() + " --block 512 --set depth0=50 --set enable1=On" +
                                " --set depth1=25 > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::vector<float> rendered = ReadWave(folder / "out.wav").samples;
    ASSERT_EQ(rendered.size(), std::size_t(2 * kFrames));

    TestHost host;
    ASSERT_NE(host.LoadFromModule(), nullptr);
    // Set before processing starts, as the renderer does, so that neither
    // glides from the defaults.
    AEffect* effect = host.Effect();
    effect->setParameter(effect, 3, 0.5f);   // depth0
    effect->setParameter(effect, 7, 1.0f);   // enable1
    effect->setParameter(effect, 8, 0.25f);  // depth1
    host.Start(kRate, kBlock);
    ASSERT_EQ(host.Text(effGetParamDisplay, 3), "50.0%") << "the same setting as the renderer's";
    ASSERT_EQ(effect->initialDelay, 0) << "the renderer's output is aligned to its input";

    std::vector<float> hosted;
    for (int start = 0; start < kFrames; start += kBlock) {
        const int n = std::min(kBlock, kFrames - start);
        std::vector<float> in[2] = {{left.begin() + start, left.begin() + start + n},
                                    {right.begin() + start, right.begin() + start + n}};
        std::vector<float> out[2] = {std::vector<float>(std::size_t(n)), std::vector<float>(std::size_t(n))};
        host.Process(in, out);
        for (int i = 0; i < n; ++i) hosted.insert(hosted.end(), {out[0][std::size_t(i)], out[1][std::size_t(i)]});
    }
    ASSERT_EQ(hosted.size(), rendered.size());
    for (std::size_t i = 0; i < hosted.size(); ++i)
        ASSERT_EQ(hosted[i], rendered[i]) << "frame " << i / 2 << ", channel " << i % 2;
}

}  // namespace
}  // namespace Vst2Test
