#include <gtest/gtest.h>

#include <smf.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "support/WaveFile.h"

namespace {

namespace fs = std::filesystem;
constexpr int kRate = 48000;

int RunHalvane(const std::string& arguments, std::string& output) {
    const std::string command = std::string(HALVANE_TOOL) + " " + arguments + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return -1;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct ControlChange {
    double seconds;
    int controller, value;
};

void WriteMIDIFile(const fs::path& path, const std::vector<ControlChange>& changes) {
    smf_t* smf = smf_new();
    smf_track_t* track = smf_track_new();
    smf_add_track(smf, track);
    for (const ControlChange& change : changes) {
        smf_event_t* event = smf_event_new_from_bytes(0xB0, change.controller, change.value);
        smf_track_add_event_seconds(track, event, change.seconds);
    }
    ASSERT_EQ(smf_save(smf, path.c_str()), 0);
    smf_delete(smf);
}

// Frequency from the rising zero crossings between two times, with the
// fractional crossing positions interpolated.
double MeasuredFrequency(const std::vector<float>& s, double from, double to) {
    double first = -1, last = -1;
    int cycles = -1;
    for (std::size_t i = std::size_t(from * kRate); i + 1 < std::size_t(to * kRate) && i + 1 < s.size(); ++i) {
        if (s[i] < 0 && s[i + 1] >= 0) {
            const double at = double(i) + s[i] / (s[i] - s[i + 1]);
            if (first < 0) first = at;
            last = at;
            ++cycles;
        }
    }
    return cycles > 0 ? cycles * kRate / (last - first) : 0;
}

// A constant input at full depth leaves the carrier itself in the output.
// Controller 20 drives "frequency0" (20 Hz .. 20 kHz, logarithmic) over its
// whole range, so value v gives f = 20 * 1000^(v / 127):
//   v = 64: 20 * 10^(3 * 64 / 127) = 649.9 Hz
//   v = 96: 20 * 10^(3 * 96 / 127) = 3704.5 Hz
TEST(MidiRender, AControllerMovesTheCarrierFrequency) {
    const fs::path dir = fs::temp_directory_path() / ("halvane-midi-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    ASSERT_TRUE(WriteWave(dir / "in.wav", {1, kRate, std::vector<float>(3 * kRate, 0.5f)}));
    WriteMIDIFile(dir / "moves.mid", {{0.0, 20, 64}, {1.5, 20, 96}});

    std::string output;
    const int status = RunHalvane("render --midi " + (dir / "moves.mid").string() + " --midi-controller 20=frequency0 " +
                               (dir / "in.wav").string() + " " + (dir / "out.wav").string(),
                           output);
    ASSERT_EQ(status, 0) << output;
    const std::vector<float> out = ReadWave(dir / "out.wav").samples;
    ASSERT_EQ(out.size(), std::size_t(3 * kRate));
    EXPECT_NEAR(MeasuredFrequency(out, 0.2, 1.45), 20 * std::pow(10.0, 3 * 64 / 127.0), 2.0);
    EXPECT_NEAR(MeasuredFrequency(out, 1.6, 2.95), 20 * std::pow(10.0, 3 * 96 / 127.0), 5.0);
    fs::remove_all(dir);
}

TEST(MidiRender, BrokenMIDIInputIsAUsageError) {
    const fs::path dir = fs::temp_directory_path() / ("halvane-midi-bad-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    ASSERT_TRUE(WriteWave(dir / "in.wav", {1, kRate, std::vector<float>(kRate / 10, 0.5f)}));
    {
        FILE* junk = std::fopen((dir / "junk.mid").c_str(), "wb");
        std::fputs("MThd but not really", junk);
        std::fclose(junk);
    }
    std::string output;
    const std::string files = (dir / "in.wav").string() + " " + (dir / "out.wav").string();
    EXPECT_EQ(RunHalvane("render --midi " + (dir / "junk.mid").string() + " " + files, output), 2) << output;
    EXPECT_NE(output.find("cannot read MIDI file"), std::string::npos) << output;
    output.clear();
    EXPECT_EQ(RunHalvane("render --midi-controller 200=frequency0 " + files, output), 2) << output;
    output.clear();
    EXPECT_EQ(RunHalvane("render --midi-controller 20=nothing " + files, output), 2) << output;
    EXPECT_NE(output.find("no parameter \"nothing\""), std::string::npos) << output;
    fs::remove_all(dir);
}

}  // namespace
