// Audio through the loaded module equals what the command-line program
// renders from the same input with the same settings and block size.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "hosts/vst3/Vst3TestHost.h"
#include "support/WaveFile.h"

using namespace vst3test;

namespace {

constexpr int kRate = 48000;
constexpr int kFrames = kRate / 2;

// Named after the running test as well: CTest runs the tests of this file
// in parallel processes.
std::filesystem::path TempFile(const std::string& name) {
    const char* folder = std::getenv("HALVANE_TEST_TMP");
    std::filesystem::path path = folder ? folder : std::filesystem::temp_directory_path().string();
    std::filesystem::create_directories(path);
    return path / (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" + name);
}

std::vector<float> StereoTones() {
    std::vector<float> interleaved(std::size_t(kFrames) * 2);
    for (int s = 0; s < kFrames; ++s) {
        interleaved[std::size_t(2 * s)] = float(0.5 * std::sin(2 * M_PI * 440.0 * s / kRate));
        interleaved[std::size_t(2 * s + 1)] = float(0.3 * std::sin(2 * M_PI * 660.0 * s / kRate));
    }
    return interleaved;
}

vst3::ParamID FindParameter(Instance& plugin, const std::u16string& title) {
    vst3::ParameterInfo info{};
    for (int i = 0; plugin.controller->getParameterInfo(i, info) == vst3::kResultOk; ++i)
        if (title == info.title) return info.id;
    return vst3::kNoParamId;
}

// The whole input in host blocks of Instance::kFrames, settings applied
// with the first block.
std::vector<float> ThroughModule(const std::vector<float>& input, ParameterChanges* settings) {
    Instance plugin;
    plugin.Start(kRate);
    std::vector<float> output(input.size());
    for (int done = 0; done < kFrames; done += Instance::kFrames) {
        const int n = std::min(Instance::kFrames, kFrames - done);
        for (int s = 0; s < n; ++s)
            for (int c = 0; c < 2; ++c) plugin.inputs[c][std::size_t(s)] = input[std::size_t(2 * (done + s) + c)];
        plugin.Process(n, done == 0 ? settings : nullptr);
        for (int s = 0; s < n; ++s)
            for (int c = 0; c < 2; ++c) output[std::size_t(2 * (done + s) + c)] = plugin.outputs[c][std::size_t(s)];
    }
    return output;
}

std::vector<float> ThroughProgram(const std::filesystem::path& input, const std::string& settings) {
    const auto output = TempFile("vst3-render-out.wav");
    const std::string command = std::string(HALVANE_TOOL) + " render " + input.string() + " " + output.string() +
                                " --block " + std::to_string(Instance::kFrames) + settings + " > /dev/null";
    if (std::system(command.c_str()) != 0) return {};
    return ReadWave(output).samples;
}

TEST(Vst3Render, DefaultSettingsSoundAsTheProgramRendersThem) {
    const std::vector<float> input = StereoTones();
    const auto path = TempFile("vst3-render-in.wav");
    ASSERT_TRUE(WriteWave(path, {2, kRate, input}));
    const std::vector<float> expected = ThroughProgram(path, "");
    ASSERT_EQ(expected.size(), input.size());
    EXPECT_EQ(ThroughModule(input, nullptr), expected);
}

TEST(Vst3Render, HostSettingsSoundAsTheProgramRendersThem) {
    const std::vector<float> input = StereoTones();
    const auto path = TempFile("vst3-render-in.wav");
    ASSERT_TRUE(WriteWave(path, {2, kRate, input}));
    const std::vector<float> expected = ThroughProgram(path, " --set frequency0=440 --set depth1=50");
    ASSERT_EQ(expected.size(), input.size());
    ASSERT_NE(expected, ThroughProgram(path, "")) << "the settings must change the sound";

    Instance lookup;
    lookup.Start(kRate);
    ParameterChanges settings;
    for (const auto& [title, text] : {std::pair<std::u16string, std::u16string>{u"frequency0", u"440"},
                                      {u"depth1", u"50"}}) {
        const vst3::ParamID id = FindParameter(lookup, title);
        ASSERT_NE(id, vst3::kNoParamId);
        std::u16string typed = text;
        double value = 0;
        ASSERT_EQ(lookup.controller->getParamValueByString(id, typed.data(), value), vst3::kResultOk);
        settings.Add(id, {{0, value}});
    }
    EXPECT_EQ(ThroughModule(input, &settings), expected);
}

}  // namespace
