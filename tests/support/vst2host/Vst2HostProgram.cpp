// A VST 2.4 host program built for Linux and for Windows from the same
// sources, so that the two builds of the plug-in can be compared:
//
//   vst2_host render <module> <output.raw> [--save-state <file>] [--load-state <file>]
//   vst2_host compare <a.raw> <b.raw>
//
// render loads the module, sets a fixed group of parameters (or loads a
// saved state instead), processes a fixed stereo input in blocks of 512 at
// 48 kHz and writes the output as interleaved 32-bit floats (the machine's
// byte order). compare answers 0 when both outputs have the same length and
// differ nowhere by more than 1e-6.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "hosts/vst2/Vst2TestHost.h"

namespace {

using namespace Vst2Test;

constexpr int kRate = 48000;
constexpr int kFrames = 5000;  // nine full blocks and a short one
constexpr int kBlock = 512;
constexpr double kTolerance = 1e-6;

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const void* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary);
    out.write(static_cast<const char*>(data), std::streamsize(size));
    if (!out) throw std::runtime_error("cannot write " + path);
}

// Settings go in before processing starts so that nothing glides from the
// defaults: oscillator 1 at half depth, oscillator 2 on at a quarter.
void Configure(TestHost& host, const std::string& stateFile) {
    AEffect* effect = host.Effect();
    if (stateFile.empty()) {
        effect->setParameter(effect, 3, 0.5f);
        effect->setParameter(effect, 7, 1.0f);
        effect->setParameter(effect, 8, 0.25f);
    } else {
        host.LoadChunk(ReadBytes(stateFile));
    }
}

std::vector<float> Render(TestHost& host) {
    const std::vector<float> left = TestSignal(kFrames, 0), right = TestSignal(kFrames, 1);
    std::vector<float> output;
    for (int start = 0; start < kFrames; start += kBlock) {
        const int n = std::min(kBlock, kFrames - start);
        std::vector<float> in[2] = {{left.begin() + start, left.begin() + start + n},
                                    {right.begin() + start, right.begin() + start + n}};
        std::vector<float> out[2] = {std::vector<float>(std::size_t(n)), std::vector<float>(std::size_t(n))};
        host.Process(in, out);
        for (int i = 0; i < n; ++i) output.insert(output.end(), {out[0][std::size_t(i)], out[1][std::size_t(i)]});
    }
    return output;
}

int RenderCommand(const std::vector<std::string>& args) {
    if (args.size() < 2) throw std::runtime_error("render needs a module and an output file");
    std::string saveState, loadState;
    for (std::size_t i = 2; i + 1 < args.size(); i += 2) {
        if (args[i] == "--save-state") saveState = args[i + 1];
        else if (args[i] == "--load-state") loadState = args[i + 1];
        else throw std::runtime_error("unknown option " + args[i]);
    }
    TestHost host;
    if (!host.LoadFromModule(args[0])) throw std::runtime_error("the module made no instance");
    Configure(host, loadState);
    host.Start(kRate, kBlock);
    if (!saveState.empty()) {
        const std::vector<std::uint8_t> chunk = host.Chunk();
        if (chunk.empty()) throw std::runtime_error("the module saved an empty state");
        WriteBytes(saveState, chunk.data(), chunk.size());
    }
    const std::vector<float> output = Render(host);
    WriteBytes(args[1], output.data(), output.size() * sizeof(float));
    return 0;
}

std::vector<float> ReadFloats(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    std::vector<float> samples(bytes.size() / sizeof(float));
    std::copy(bytes.begin(), bytes.begin() + std::ptrdiff_t(samples.size() * sizeof(float)),
              reinterpret_cast<std::uint8_t*>(samples.data()));
    return samples;
}

int CompareCommand(const std::vector<std::string>& args) {
    if (args.size() != 2) throw std::runtime_error("compare needs two files");
    const std::vector<float> a = ReadFloats(args[0]), b = ReadFloats(args[1]);
    if (a.size() != b.size() || a.empty()) {
        std::printf("lengths differ: %zu and %zu samples\n", a.size(), b.size());
        return 1;
    }
    double largest = 0;
    for (std::size_t i = 0; i < a.size(); ++i) largest = std::max(largest, std::fabs(double(a[i]) - double(b[i])));
    std::printf("%zu samples, largest difference %.3g\n", a.size(), largest);
    return largest <= kTolerance ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + std::min(argc, 2), argv + argc);
    const std::string command = argc > 1 ? argv[1] : "";
    try {
        if (command == "render") return RenderCommand(args);
        if (command == "compare") return CompareCommand(args);
        std::fprintf(stderr, "usage: vst2_host render <module> <output.raw> [--save-state f] [--load-state f]\n"
                             "       vst2_host compare <a.raw> <b.raw>\n");
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "vst2_host: %s\n", failure.what());
    }
    return 2;
}
