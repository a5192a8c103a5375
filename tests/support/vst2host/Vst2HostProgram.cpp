// A VST 2.4 host program built for Linux and for Windows from the same
// sources, so that the two builds of the plug-in can be compared:
//
//   vst2_host render <module> <output.raw> [--save-state <file>] [--load-state <file>]
//   vst2_host compare <a.raw> <b.raw>
//
// render loads the module, sets the fixed settings (or loads a saved state
// instead), processes the fixed input and writes the output (RenderSettings.h,
// RawAudioFiles.h). The state is saved once the settings are in.
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "hosts/vst2/Vst2TestHost.h"
#include "support/hostprogram/HostProgramMain.h"
#include "support/hostprogram/RawAudioFiles.h"
#include "support/hostprogram/RenderSettings.h"

namespace {

using namespace Vst2Test;
using namespace HostProgram;

// Settings go in before processing starts so that nothing glides from the
// defaults.
void Configure(TestHost& host, const std::string& stateFile) {
    AEffect* effect = host.Effect();
    if (stateFile.empty()) {
        for (const Setting& setting : kSettings) effect->setParameter(effect, setting.index, setting.value);
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
        WriteBytes(saveState, chunk);
    }
    WriteSamples(args[1], Render(host));
    return 0;
}

}  // namespace

int main(int argc, char** argv) { return RunHostProgram(argc, argv, "vst2_host", "module", RenderCommand); }
