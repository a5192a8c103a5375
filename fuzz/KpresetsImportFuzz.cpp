// Feeds arbitrary bytes to the import of a ".kpresets" file, as a user
// importing a file someone sent them: the file replaces the content of a
// folder of the library; a file that cannot be read is refused with a
// KException and leaves the library as it was. Whatever was imported lists,
// every preset in it loads into the plug-in or is refused with a
// KException, and the folder exported again imports to the same presets.
//
// The library lives in a folder of this process's own under the temporary
// folder; one plug-in serves every input.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "foundation/core/KException.h"
#include "hosts/common/KPluginCreation.h"
#include "plugin/core/KQuenlorAudioEffectPlugin.h"
#include "presets/library/KPluginPresets.h"

namespace {

struct KFiles {
    std::filesystem::path folder;
    KString library, input, exported;
};

const KFiles& Files() {
    static const KFiles files = [] {
        KFiles made;
        made.folder = std::filesystem::temp_directory_path() / ("kpresets-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(made.folder);
        made.library = KString::FromUTF8((made.folder / "Halvanepresets.xml").string());
        made.input = KString::FromUTF8((made.folder / "input.kpresets").string());
        made.exported = KString::FromUTF8((made.folder / "exported.kpresets").string());
        return made;
    }();
    return files;
}

void WriteFile(const KString& path, const std::string& bytes) {
    std::ofstream file(path.ToUTF8(), std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string ReadFile(const KString& path) {
    std::ifstream file(path.ToUTF8(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A library with one preset in an "Imported" folder, written afresh for
// every input. Storing the preset saves the whole plug-in, which would cost
// more than the import itself, so the library is made once and its bytes
// are written back.
void FreshLibrary(KPluginPresets::Manager& library) {
    static const std::string fresh = [&] {
        std::filesystem::remove(Files().library.ToUTF8());
        library.NewFolder(KString(), "Imported");
        library.StoreNew("Kept", KString());
        return ReadFile(Files().library);
    }();
    WriteFile(Files().library, fresh);
}

void WriteInput(const std::uint8_t* data, std::size_t size) {
    WriteFile(Files().input, std::string(reinterpret_cast<const char*>(data), size));
}

std::vector<std::string> Names(KPluginPresets::Manager& library) {
    std::vector<std::string> names;
    for (const auto& entry : library.List()) names.push_back(entry.folder.ToUTF8() + "/" + entry.name.ToUTF8());
    return names;
}

void LoadEvery(KPluginPresets::Manager& library, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        try {
            library.Load(int(i));
        } catch (const KException&) {
            // a damaged preset: refused with its message
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto plugin = KCreatePluginObject();
    static KPluginPresets presets(*plugin, Files().library);
    KPluginPresets::Manager& library = presets.Library();
    FreshLibrary(library);
    const std::vector<std::string> before = Names(library);
    WriteInput(data, size);
    try {
        library.ImportFolder(Files().input, "Imported");
    } catch (const KException&) {
        if (Names(library) != before) std::abort();  // a refused file changes nothing
        return 0;
    }
    const std::vector<std::string> imported = Names(library);
    LoadEvery(library, imported.size());

    library.ExportFolder("Imported", Files().exported);
    library.ImportFolder(Files().exported, "Imported");
    if (Names(library) != imported) std::abort();
    return 0;
}
