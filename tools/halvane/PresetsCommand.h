#pragma once
#include <string>
#include <vector>

namespace CLI {
class App;
}
class KQuenlorAudioEffectPlugin;

// "halvane presets ...": the user's preset library from the command line.
struct PresetsCommand {
    CLI::App* command = nullptr;
    CLI::App* list = nullptr;
    CLI::App* save = nullptr;
    CLI::App* remove = nullptr;
    CLI::App* rename = nullptr;
    CLI::App* renameFolder = nullptr;
    CLI::App* makeFolder = nullptr;
    CLI::App* exportFolder = nullptr;
    CLI::App* importFolder = nullptr;
    std::string file;    // --presets-file; empty: the user's own
    std::string name;    // preset, or folder
    std::string folder;  // --folder
    std::string path;    // .kpresets file
    std::string newName; // rename, rename-folder

    void Register(CLI::App& app);
    // Runs the chosen action on a plug-in whose settings (--set, --state-in)
    // are already applied. Raises ToolError with one line on bad input.
    void Run(KQuenlorAudioEffectPlugin& plugin);
};

// "render --preset NAME|INDEX": the preset's settings before rendering.
void LoadPresetForRender(KQuenlorAudioEffectPlugin& plugin, const std::string& presetsFile, const std::string& preset);
