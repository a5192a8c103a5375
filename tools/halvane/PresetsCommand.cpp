#include "PresetsCommand.h"

#include <CLI/CLI.hpp>

#include <cstdio>

#include "ToolError.h"
#include "foundation/core/KException.h"
#include "presets/library/KPluginPresets.h"

namespace {

KString Text(const std::string& text) { return KString::FromUTF8(text); }

void PrintList(KPluginPresets::Manager& manager) {
    const auto entries = manager.List();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string folder = entries[i].folder.ToUTF8();
        std::printf("%3zu  %s%s%s\n", i, folder.c_str(), folder.empty() ? "" : "/", entries[i].name.ToUTF8().c_str());
    }
    if (entries.empty()) std::printf("no presets in %s\n", manager.FilePath().ToUTF8().c_str());
}

}  // namespace

void PresetsCommand::Register(CLI::App& app) {
    command = app.add_subcommand("presets", "The preset library: list, save, delete, rename, folders, export and import.");
    command->require_subcommand(1);
    command->add_option("--presets-file", file, "work on this presets file instead of the user's own");
    list = command->add_subcommand("list", "Every preset in order, with its index.");
    save = command->add_subcommand("save", "Save the settings (from --set and --state-in) as a preset.");
    save->add_option("name", name, "preset name")->required();
    save->add_option("--folder", folder, "folder path such as Bass/Deep (default: the top)");
    remove = command->add_subcommand("delete", "Delete a preset.");
    remove->add_option("name", name, "preset: FOLDER/NAME, NAME or INDEX")->required();
    rename = command->add_subcommand("rename", "Give a preset a new name; its settings and place stay.");
    rename->add_option("name", name, "preset: FOLDER/NAME, NAME or INDEX")->required();
    rename->add_option("new-name", newName, "its new name")->required();
    renameFolder = command->add_subcommand("rename-folder", "Give a folder a new name, with everything in it.");
    renameFolder->add_option("folder", name, "folder path")->required();
    renameFolder->add_option("new-name", newName, "its new name")->required();
    makeFolder = command->add_subcommand("mkdir", "Create a folder.");
    makeFolder->add_option("name", name, "folder name")->required();
    makeFolder->add_option("--folder", folder, "parent folder path (default: the top)");
    exportFolder = command->add_subcommand("export", "Write a folder with everything in it to a .kpresets file.");
    exportFolder->add_option("folder", name, "folder path")->required();
    exportFolder->add_option("file", path, "FILE.kpresets")->required();
    importFolder = command->add_subcommand("import", "Replace a folder's content by a .kpresets file.");
    importFolder->add_option("file", path, "FILE.kpresets")->required();
    importFolder->add_option("folder", name, "folder path")->required();
}

void PresetsCommand::Run(KQuenlorAudioEffectPlugin& plugin) {
    KPluginPresets presets(plugin, Text(file));
    KPluginPresets::Manager& manager = presets.Library();
    try {
        if (*list) PrintList(manager);
        else if (*save) manager.StoreNew(Text(name), Text(folder));
        else if (*remove) manager.Delete(manager.Find(Text(name)));
        else if (*rename) manager.Rename(manager.Find(Text(name)), Text(newName));
        else if (*renameFolder) manager.RenameFolder(Text(name), Text(newName));
        else if (*makeFolder) manager.NewFolder(Text(folder), Text(name));
        else if (*exportFolder) manager.ExportFolder(Text(name), Text(path));
        else if (*importFolder) manager.ImportFolder(Text(path), Text(name));
    } catch (const KException& error) {
        throw ToolError(error.Message().ToUTF8());
    }
}

void LoadPresetForRender(KQuenlorAudioEffectPlugin& plugin, const std::string& presetsFile, const std::string& preset) {
    KPluginPresets presets(plugin, Text(presetsFile));
    try {
        presets.WithCurrentIndex([&](KPluginPresets::Manager& manager) { manager.Load(manager.Find(Text(preset))); });
    } catch (const KException& error) {
        throw ToolError("preset \"" + preset + "\": " + error.Message().ToUTF8());
    }
}
