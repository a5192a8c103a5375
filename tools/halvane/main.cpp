// halvane: runs the Halvane ring modulator over audio files, the same code
// path a host drives, and lists its parameters.
#include <CLI/CLI.hpp>

#include <cmath>
#include <cstdio>
#include <iostream>
#include <unistd.h>

#include "EditorCommand.h"
#include "LayoutCommand.h"
#include "ParameterSettings.h"
#include "PresetsCommand.h"
#include "MidiControllers.h"
#include "ParamsTable.h"
#include "Render.h"
#include "StateFiles.h"
#include "ToolError.h"
#include "hosts/common/KPluginCreation.h"
#include "plugin/pipeline/KChannelModes.h"

namespace {

constexpr int kUsageError = 2;

std::string Decibels(double peak) {
    if (peak <= 0) return "-inf dBFS";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f dBFS", 20 * std::log10(peak));
    return text;
}

std::string ChannelModeHelp() {
    std::string help = "channel mode:";
    for (const char* name : KChannelModes::DisplayNames()) help += std::string(" \"") + name + "\"";
    return help;
}

int ChannelModeByName(const std::string& name) {
    const int mode = KChannelModes::FindByName(KString::FromUTF8(name));
    if (mode < 0) throw ToolError("unknown channel mode \"" + name + "\"; " + ChannelModeHelp());
    return mode;
}

void PrintSummary(const std::filesystem::path& output, const RenderSummary& summary) {
    std::printf("%s: %.2f s, peak in %s, peak out %s, %.0fx real time\n", output.c_str(), summary.seconds,
                Decibels(summary.peakIn).c_str(), Decibels(summary.peakOut).c_str(), summary.realTimeFactor);
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Halvane ring modulator: render audio files through the plug-in, list its parameters."};
    app.require_subcommand(1);

    std::vector<std::string> settings;
    std::vector<std::string> files;
    RenderOptions options;

    CLI::App* render = app.add_subcommand("render", "Process INPUT (or the built-in demo) into OUTPUT.");
    render->add_option("files", files, "[INPUT] OUTPUT; the output format follows its extension (WAV by default)")
        ->required()
        ->expected(1, 2);
    render->add_option("--set", settings, "ID=TEXT: set a parameter by identifier or name, e.g. frequency0=440")
        ->allow_extra_args(false);
    std::string midiFile;
    std::vector<std::string> midiControllers;
    render->add_option("--midi", midiFile, "Standard MIDI File whose messages reach the plug-in at their times");
    render->add_option("--midi-controller", midiControllers,
                       "CC=ID: MIDI controller CC (0-127, 128 aftertouch, 129 pitch bend) drives parameter ID")
        ->allow_extra_args(false);
    render->add_option("--block", options.blockSize, "host block size in frames")->capture_default_str();
    render->add_option("--rate", options.demoRate, "sample rate of the demo source")->capture_default_str();
    render->add_option("--seconds", options.demoSeconds, "length of the demo source")->capture_default_str();

    // The pipeline options override what the plug-in holds (its defaults or
    // a loaded state) only when given.
    bool flag = false;  // the flags below are read by their counts
    CLI::Option* bypass = render->add_flag("--bypass", flag, "bypass the effect (the dry path, latency-aligned)");
    std::string channelMode;
    render->add_option("--channel-mode", channelMode, ChannelModeHelp());
    int upsampling = 1;
    CLI::Option* upsamplingOption = render->add_option("--upsampling", upsampling, "upsampling factor: 1, 2, 4 or 8");
    CLI::Option* highQuality = render->add_flag("--hq", flag, "high-quality (linear-phase) upsampling filters");
    CLI::Option* automaticGain = render->add_flag("--agc", flag, "automatic gain compensation");
    std::string stateIn, stateOut;
    render->add_option("--state-in", stateIn, "load this state block (compressed or plain XML) before rendering");
    render->add_option("--state-out", stateOut, "write the final state block here");
    std::string preset, renderPresetsFile;
    render->add_option("--preset", preset, "apply this preset (FOLDER/NAME, NAME or INDEX) before rendering");
    render->add_option("--presets-file", renderPresetsFile, "take --preset from this presets file");

    PresetsCommand presets;
    presets.Register(app);
    for (CLI::App* sub : {presets.save}) {
        sub->add_option("--set", settings, "ID=TEXT: set a parameter first")->allow_extra_args(false);
        sub->add_option("--state-in", stateIn, "start from this state block");
    }

    CLI::App* params = app.add_subcommand("params", "List every host parameter with its value and default.");
    params->add_option("--set", settings, "ID=TEXT: set a parameter before listing")->allow_extra_args(false);

    CLI::App* layout = app.add_subcommand("layout", "Lay out an editor description and print every control's rectangle.");
    std::string layoutFile, layoutSize;
    layout->add_option("file", layoutFile, "the editor description (XML)")->required();
    layout->add_option("--size", layoutSize, "WIDTHxHEIGHT of the window (default: its own size)");

    CLI::App* editor = app.add_subcommand("editor", "Draw the editor off screen into a PNG file.");
    std::string screenshot, editorSize;
    editor->add_option("--screenshot", screenshot, "the PNG file to write")->required();
    editor->add_option("--set", settings, "ID=TEXT: set a parameter first")->allow_extra_args(false);
    editor->add_option("--size", editorSize, "WIDTHxHEIGHT of the window (default: its own size)");

    CLI::App* state = app.add_subcommand("state", "Inspect saved state blocks.");
    state->require_subcommand(1);
    std::string stateFile;
    CLI::App* show = state->add_subcommand("show", "Print a state block as indented XML.");
    show->add_option("file", stateFile, "state block (compressed or plain XML)")->required();
    CLI::App* check = state->add_subcommand("check", "Load a state block into a fresh instance and report on it.");
    check->add_option("file", stateFile, "state block (compressed or plain XML)")->required();

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? 0 : kUsageError;
    }

    try {
        if (*layout) {
            PrintLayout(layoutFile, layoutSize, std::cout);
            return 0;
        }
        if (*show) {
            ShowState(stateFile, std::cout);
            return 0;
        }
        if (*check) {
            std::cout << stateFile << ": ";
            return CheckState(stateFile, std::cout) ? 0 : kUsageError;
        }
        auto plugin = KCreatePluginObject();
        if (!stateIn.empty()) LoadStateFile(*plugin, stateIn);
        if (!preset.empty()) LoadPresetForRender(*plugin, renderPresetsFile, preset);
        ApplySettings(*plugin, settings);
        if (*presets.command) {
            presets.Run(*plugin);
            return 0;
        }
        if (*editor) {
            WriteEditorScreenshot(*plugin, screenshot, editorSize);
            return 0;
        }
        if (*params) {
            PrintParameterTable(*plugin, std::cout);
            return 0;
        }
        MapMIDIControllers(*plugin, midiControllers);
        if (!midiFile.empty()) options.midi = midiFile;
        if (!channelMode.empty()) options.channelMode = ChannelModeByName(channelMode);
        if (upsampling != 1 && upsampling != 2 && upsampling != 4 && upsampling != 8)
            throw ToolError("--upsampling must be 1, 2, 4 or 8");
        if (upsamplingOption->count()) options.upsampling = upsampling;
        if (bypass->count()) options.bypass = true;
        if (highQuality->count()) options.highQuality = true;
        if (automaticGain->count()) options.automaticGain = true;
        options.output = files.back();
        if (files.size() == 2) options.input = files.front();
        options.showProgress = ::isatty(STDERR_FILENO) != 0;
        PrintSummary(options.output, Render(*plugin, options));
        if (!stateOut.empty()) SaveStateFile(*plugin, stateOut);
        return 0;
    } catch (const ToolError& error) {
        std::cerr << "halvane: " << error.what() << '\n';
        return kUsageError;
    }
}
