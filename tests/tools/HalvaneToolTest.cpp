#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "support/WaveFile.h"
#include "tools/ToolRunner.h"

namespace {

namespace fs = std::filesystem;
constexpr double kTwoPi = 2 * std::numbers::pi;

class HalvaneTool : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("halvane-tool-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path WriteConstantInput(int channels, float level, int frames = 4800) {
        KTestAudio audio{channels, 48000, std::vector<float>(std::size_t(frames * channels), level)};
        EXPECT_TRUE(WriteWave(dir / "in.wav", audio));
        return dir / "in.wav";
    }
    int FileCount() const { return int(std::distance(fs::directory_iterator(dir), fs::directory_iterator())); }

    fs::path dir;
};

TEST_F(HalvaneTool, RenderOfAConstantMatchesTheDefaultSineModulation) {
    const fs::path in = WriteConstantInput(2, 0.5f);
    const RunResult result = RunTool("render --block 100 " + in.string() + " " + (dir / "out.wav").string());
    ASSERT_EQ(result.status, 0) << result.output;
    const KTestAudio out = ReadWave(dir / "out.wav");
    ASSERT_EQ(out.channels, 2);
    ASSERT_EQ(out.samples.size(), 9600u);
    // A new instance: oscillator 1 at 50 Hz, depth 1, channel 1 a tenth of a cycle ahead.
    for (int s = 0; s < 4800; ++s)
        for (int c = 0; c < 2; ++c)
            ASSERT_NEAR(out.samples[std::size_t(2 * s + c)], 0.5 * std::sin(kTwoPi * (50.0 * s / 48000 + 0.1 * c)), 1e-5)
                << "sample " << s << " channel " << c;
}

TEST_F(HalvaneTool, SetUsesEachParametersOwnParser) {
    const fs::path in = WriteConstantInput(1, 0.25f);
    const RunResult result = RunTool("render --set frequency0=440 --set depth0=25 --set phase0=90 " + in.string() + " " +
                              (dir / "out.wav").string());
    ASSERT_EQ(result.status, 0) << result.output;
    const KTestAudio out = ReadWave(dir / "out.wav");
    ASSERT_EQ(out.channels, 1);  // mono in, mono out: the left channel
    for (int s = 0; s < 4800; ++s) {
        const double g = std::sin(kTwoPi * 440.0 * s / 48000);
        ASSERT_NEAR(out.samples[std::size_t(s)], 0.25 * (0.75 + 0.25 * g), 1e-5) << s;
    }
}

TEST_F(HalvaneTool, BadInputFailsWithStatusTwoAndLeavesNoOutput) {
    const fs::path in = WriteConstantInput(2, 0.5f);
    const std::string out = (dir / "out.wav").string();

    RunResult unknown = RunTool("render --set frequncy0=440 " + in.string() + " " + out);
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.output.find("frequency0"), std::string::npos) << unknown.output;  // the nearest identifier

    EXPECT_EQ(RunTool("render --set depth0=loud " + in.string() + " " + out).status, 2);
    EXPECT_EQ(RunTool("render " + (dir / "missing.wav").string() + " " + out).status, 2);
    EXPECT_EQ(RunTool("render " + in.string() + " " + (dir / "no-such-dir" / "out.wav").string()).status, 2);

    const auto sizeBefore = fs::file_size(in);
    EXPECT_EQ(RunTool("render " + in.string() + " " + in.string()).status, 2);
    EXPECT_EQ(fs::file_size(in), sizeBefore);

    EXPECT_EQ(FileCount(), 1);  // only the input: no output, no partial file
}

TEST_F(HalvaneTool, OutputLinesUpWithTheInputWhateverTheLatency) {
    KTestAudio audio{2, 48000, std::vector<float>(2 * 4800)};
    for (std::size_t i = 0; i < audio.samples.size(); ++i) audio.samples[i] = float(std::sin(0.01 * double(i)));
    ASSERT_TRUE(WriteWave(dir / "in.wav", audio));
    // Bypassed with high-quality upsampling the plug-in reports a latency;
    // the dry path is delayed by it and the program takes it back out.
    const RunResult result = RunTool("render --bypass --upsampling 4 --hq --block 256 " + (dir / "in.wav").string() +
                                     " " + (dir / "out.wav").string());
    ASSERT_EQ(result.status, 0) << result.output;
    const KTestAudio out = ReadWave(dir / "out.wav");
    ASSERT_EQ(out.samples.size(), audio.samples.size());
    for (std::size_t i = 0; i < audio.samples.size(); ++i) ASSERT_NEAR(out.samples[i], audio.samples[i], 1e-6) << i;

    EXPECT_EQ(RunTool("render --upsampling 3 " + (dir / "in.wav").string() + " " + (dir / "x.wav").string()).status, 2);
    EXPECT_EQ(RunTool("render --channel-mode Quadro " + (dir / "in.wav").string() + " " + (dir / "x.wav").string()).status,
              2);
}

TEST_F(HalvaneTool, DemoRenderNeedsNoInput) {
    const RunResult result = RunTool("render --seconds 1 --rate 44100 " + (dir / "demo.wav").string());
    ASSERT_EQ(result.status, 0) << result.output;
    const KTestAudio out = ReadWave(dir / "demo.wav");
    EXPECT_EQ(out.rate, 44100);
    EXPECT_EQ(out.samples.size(), 2u * 44100u);
    EXPECT_NE(result.output.find("peak out"), std::string::npos);
}

TEST_F(HalvaneTool, ParamsListsEveryHostParameterWithItsText) {
    const RunResult result = RunTool("params --set depth0=25");
    ASSERT_EQ(result.status, 0) << result.output;
    std::istringstream lines(result.output);
    std::string line;
    std::getline(lines, line);  // header
    int rows = 0;
    bool sawFrequency = false, sawDepth = false, sawMultiParameter = false;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        int index = -1;
        std::string id;
        fields >> index >> id;
        EXPECT_EQ(index, rows);
        if (id == "frequency0") sawFrequency = line.find("50.0 Hz") != std::string::npos;
        if (id == "depth0") sawDepth = line.find("25.0%") != std::string::npos;
        if (id == "MultiParameter4Range16") sawMultiParameter = line.find("MultiParameter 4 Range 16") != std::string::npos;
        ++rows;
    }
    EXPECT_GE(rows, 11);
    EXPECT_TRUE(sawFrequency);
    EXPECT_TRUE(sawDepth);
    EXPECT_TRUE(sawMultiParameter);
}

void WriteText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// A state written after one render sets up the next one the same way,
// whether it is read as the compressed block or as the XML text it shows.
TEST_F(HalvaneTool, StateOutThenStateInReproducesTheRender) {
    const fs::path in = WriteConstantInput(2, 0.5f);
    const fs::path state = dir / "settings.state";
    RunResult first = RunTool("render --set frequency0=440 --set depth0=25 --upsampling 2 --state-out " +
                              state.string() + " " + in.string() + " " + (dir / "a.wav").string());
    ASSERT_EQ(first.status, 0) << first.output;

    RunResult shown = RunTool("state show " + state.string());
    ASSERT_EQ(shown.status, 0) << shown.output;
    EXPECT_EQ(shown.output.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>", 0), 0u) << shown.output;
    EXPECT_NE(shown.output.find("\n\t<"), std::string::npos);  // indented
    EXPECT_NE(shown.output.find("upsampling=\"2\""), std::string::npos);
    WriteText(dir / "plain.xml", shown.output);

    for (const fs::path& source : {state, dir / "plain.xml"}) {
        RunResult again = RunTool("render --state-in " + source.string() + " " + in.string() + " " +
                                  (dir / "b.wav").string());
        ASSERT_EQ(again.status, 0) << again.output;
        // The frequency travels as 12 significant digits of its stored form:
        // a relative error near 1e-11, far below 1e-6 over 4800 samples.
        const KTestAudio a = ReadWave(dir / "a.wav"), b = ReadWave(dir / "b.wav");
        ASSERT_EQ(b.samples.size(), a.samples.size());
        for (std::size_t i = 0; i < a.samples.size(); ++i) ASSERT_NEAR(b.samples[i], a.samples[i], 1e-6) << source << i;
    }
}

TEST_F(HalvaneTool, StateCheckReportsVersionAndUnknownAttributes) {
    const fs::path saved = dir / "saved.state";
    ASSERT_EQ(RunTool("render --seconds 0.1 --state-out " + saved.string() + " " + (dir / "o.wav").string()).status, 0);
    RunResult clean = RunTool("state check " + saved.string());
    EXPECT_EQ(clean.status, 0) << clean.output;
    EXPECT_NE(clean.output.find("loads\nversion: 461312\nunrecognised attributes: none"), std::string::npos)
        << clean.output;

    WriteText(dir / "odd.xml", "<settings Colour=\"red\"><Shape0 Mode=\"Normal\" Sparkle=\"2\"/></settings>");
    RunResult odd = RunTool("state check " + (dir / "odd.xml").string());
    EXPECT_EQ(odd.status, 0) << odd.output;
    EXPECT_NE(odd.output.find("version: 328448"), std::string::npos) << odd.output;  // none given
    EXPECT_NE(odd.output.find("  Colour\n  Shape0/Sparkle\n"), std::string::npos) << odd.output;

    WriteText(dir / "junk.state", "\x78\xDA not a state");
    RunResult junk = RunTool("state check " + (dir / "junk.state").string());
    EXPECT_EQ(junk.status, 2);
    EXPECT_NE(junk.output.find("does not load"), std::string::npos) << junk.output;
    EXPECT_EQ(RunTool("render --state-in " + (dir / "junk.state").string() + " " + (dir / "x.wav").string()).status, 2);
}

}  // namespace
