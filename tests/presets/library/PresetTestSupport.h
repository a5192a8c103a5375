#pragma once
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "foundation/xml/KStorageContext.h"
#include "presets/library/KPresetManagerT.h"

// An owner with two settings, enough to tell presets apart.
struct TestOwner {
    KString name = "initial";
    int level = 0;
    int loads = 0;

    void StoreSettings(KStorageContext& context) {
        context.Field("Name", name);
        context.Field("Level", level, 0);
    }
    void OnPresetLoaded() { ++loads; }
};

// A fresh folder of its own for each test.
inline std::filesystem::path TestFolder(const std::string& name) {
    const char* root = std::getenv("HALVANE_TEST_TMP");
    const std::filesystem::path folder = std::filesystem::path(root ? root : "/tmp") / "presets" / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

inline KString PathText(const std::filesystem::path& path) { return KString::FromUTF8(path.string()); }

inline std::string ReadText(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// A manager of TestOwner presets on a file of the test's folder.
struct PresetFixture {
    explicit PresetFixture(const std::string& test) : folder(TestFolder(test)), manager(owner, "Test") {
        manager.SetFilePath(PathText(file()));
    }
    std::filesystem::path file() const { return folder / "Testpresets.xml"; }
    void Save(const char* name, int level, const char* into = "") {
        owner.name = KString::FromUTF8(name);
        owner.level = level;
        manager.StoreNew(KString::FromUTF8(name), KString::FromUTF8(into));
    }

    std::filesystem::path folder;
    TestOwner owner;
    KPresetManagerT<TestOwner> manager;
};
