// A VST 3 host program built for Linux and for Windows from the same
// sources, so that the two builds of the plug-in can be compared:
//
//   vst3_host render <bundle> <output.raw> [--save-state <file>] [--load-state <file>]
//   vst3_host compare <a.raw> <b.raw>
//
// render loads the binary from the bundle folder as a host finds it, makes
// an instance of the factory's audio-effect class, processes the fixed
// input with the fixed settings (RenderSettings.h) and writes the output
// (RawAudioFiles.h). The settings reach the plug-in as the first block's
// parameter changes, as host automation does: their values apply before
// that block's audio and the sound glides to them. The component state is
// saved right after that block. With --load-state the saved state is set
// before processing starts (so nothing glides) and no parameter changes
// are sent: that rendering sounds as the VST 2.4 program's with the same
// settings.
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "hosts/vst3/Vst3TestHost.h"
#include "support/TestSignal.h"
#include "support/hostprogram/HostProgramMain.h"
#include "support/hostprogram/RawAudioFiles.h"
#include "support/hostprogram/RenderSettings.h"

namespace {

using namespace vst3test;
using namespace HostProgram;

struct RenderOptions {
    std::string bundle, output, saveState, loadState;
};

RenderOptions ReadOptions(const std::vector<std::string>& args) {
    if (args.size() < 2) throw std::runtime_error("render needs a bundle and an output file");
    RenderOptions options{args[0], args[1], {}, {}};
    for (std::size_t i = 2; i < args.size(); i += 2) {
        if (i + 1 == args.size()) throw std::runtime_error(args[i] + " needs a file");
        if (args[i] == "--save-state") options.saveState = args[i + 1];
        else if (args[i] == "--load-state") options.loadState = args[i + 1];
        else throw std::runtime_error("unknown option " + args[i]);
    }
    return options;
}

void LoadState(Instance& plugin, const std::string& file) {
    MemoryStream stream;
    stream.bytes = ReadBytes(file);
    if (plugin.component->setState(&stream) != vst3::kResultOk)
        throw std::runtime_error("the module refused the state in " + file);
}

void SaveState(Instance& plugin, const std::string& file) {
    MemoryStream stream;
    if (plugin.component->getState(&stream) != vst3::kResultOk || stream.bytes.empty())
        throw std::runtime_error("the module saved no state");
    WriteBytes(file, stream.bytes);
}

void AddSettings(ParameterChanges& changes) {
    for (const Setting& setting : kSettings) changes.Add(vst3::ParamID(setting.index), {{0, setting.value}});
}

// The whole input in blocks of kBlock; `first` goes with the first block,
// and `afterFirst` runs once that block is done.
template <class AfterFirst>
std::vector<float> Render(Instance& plugin, ParameterChanges* first, AfterFirst afterFirst) {
    const std::vector<float> input[2] = {HostTest::TestSignal(kFrames, 0), HostTest::TestSignal(kFrames, 1)};
    std::vector<float> output;
    output.reserve(std::size_t(kFrames) * 2);
    for (int start = 0; start < kFrames; start += kBlock) {
        const int n = std::min(kBlock, kFrames - start);
        for (int c = 0; c < 2; ++c) std::copy_n(input[c].begin() + start, n, plugin.inputs[c].begin());
        if (plugin.Process(n, start == 0 ? first : nullptr) != vst3::kResultOk)
            throw std::runtime_error("process failed");
        if (start == 0) afterFirst();
        for (int i = 0; i < n; ++i)
            output.insert(output.end(), {plugin.outputs[0][std::size_t(i)], plugin.outputs[1][std::size_t(i)]});
    }
    return output;
}

int RenderCommand(const std::vector<std::string>& args) {
    const RenderOptions options = ReadOptions(args);
    const LoadedModule module(BundleBinary(options.bundle));
    if (!module.Loaded()) throw std::runtime_error(module.Failure());
    std::vector<float> output;
    {
        Instance plugin(module, kBlock);
        plugin.Initialize();
        if (!options.loadState.empty()) LoadState(plugin, options.loadState);
        plugin.Start(kRate);
        ParameterChanges settings;
        if (options.loadState.empty()) AddSettings(settings);
        output = Render(plugin, &settings, [&] {
            if (!options.saveState.empty()) SaveState(plugin, options.saveState);
        });
        plugin.Stop();
    }
    WriteSamples(options.output, output);
    return 0;
}

}  // namespace

int main(int argc, char** argv) { return RunHostProgram(argc, argv, "vst3_host", "bundle", RenderCommand); }
