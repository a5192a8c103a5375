// The built plug-in module as a host sees it: loaded with dlopen and used
// only through the symbols it exports.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <elf.h>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "hosts/common/KLibraryExports.h"
#include "support/CountingAllocator.h"

namespace {

// The names in the dynamic symbol table that the file itself defines.
std::set<std::string> DefinedDynamicSymbols(const char* path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> image{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::set<std::string> names;
    if (image.size() < sizeof(Elf64_Ehdr)) return names;
    const auto* header = reinterpret_cast<const Elf64_Ehdr*>(image.data());
    const auto* sections = reinterpret_cast<const Elf64_Shdr*>(image.data() + header->e_shoff);
    for (int i = 0; i < header->e_shnum; ++i) {
        if (sections[i].sh_type != SHT_DYNSYM) continue;
        const char* strings = image.data() + sections[sections[i].sh_link].sh_offset;
        const auto* symbols = reinterpret_cast<const Elf64_Sym*>(image.data() + sections[i].sh_offset);
        const std::size_t count = sections[i].sh_size / sizeof(Elf64_Sym);
        for (std::size_t s = 1; s < count; ++s)
            if (symbols[s].st_shndx != SHN_UNDEF) names.insert(strings + symbols[s].st_name);
    }
    return names;
}

struct LoadedModule {
    void* handle = dlopen(HALVANE_MODULE, RTLD_NOW | RTLD_LOCAL);

    template <class Function>
    Function* Find(const char* name) const {
        return reinterpret_cast<Function*>(dlsym(handle, name));
    }
};

using EffectEntry = std::intptr_t(void*, std::int32_t, std::int64_t*);
using Hook = bool();
using LibraryInitialize = KModule*(const KLibrarySetupRecord*);

constexpr std::int32_t kCreateEffect = 7;
constexpr std::int32_t kDestroyEffect = 1;

TEST(ModuleExports, DynamicSymbolTableHoldsExactlyTheEntryPoints) {
    const std::set<std::string> expected = {"VSTPluginMain", "main", "GetPluginFactory", "InitDll", "ExitDll",
                                            "HalvaneAudioEffectPluginInterface", "KLibraryDLLInitialize",
                                            "ModuleEntry", "ModuleExit"};
    const std::set<std::string> exported = DefinedDynamicSymbols(HALVANE_MODULE);
    EXPECT_EQ(exported, expected);
}

TEST(ModuleExports, ModuleHooksAnswerTrue) {
    LoadedModule module;
    ASSERT_NE(module.handle, nullptr) << dlerror();
    for (const char* name : {"InitDll", "ExitDll", "ModuleExit"}) {
        Hook* hook = module.Find<Hook>(name);
        ASSERT_NE(hook, nullptr) << name;
        EXPECT_TRUE(hook()) << name;
    }
    auto* entry = module.Find<bool(void*)>("ModuleEntry");
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry(module.handle));
}

TEST(ModuleExports, EffectEntryCreatesWithoutHandleAndAnswersAGivenHandle) {
    LoadedModule module;
    EffectEntry* entry = module.Find<EffectEntry>("HalvaneAudioEffectPluginInterface");
    ASSERT_NE(entry, nullptr) << dlerror();
    std::int64_t block[8] = {};
    void* first = reinterpret_cast<void*>(entry(nullptr, kCreateEffect, block));
    void* second = reinterpret_cast<void*>(entry(nullptr, kCreateEffect, block));
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(reinterpret_cast<void*>(entry(first, kCreateEffect, block)), first);
    EXPECT_EQ(entry(first, kDestroyEffect, block), 0);
    EXPECT_EQ(entry(second, kDestroyEffect, block), 0);
}

// Allocates inside the module: a new effect names its parameters.
void MakeModuleAllocate(EffectEntry* entry) {
    std::int64_t block[8] = {};
    void* effect = reinterpret_cast<void*>(entry(nullptr, kCreateEffect, block));
    entry(effect, kDestroyEffect, block);
}

TEST(ModuleExports, LibraryInitializeSharesOneModuleAndReplacesTheAllocatorEachTime) {
    LoadedModule module;
    LibraryInitialize* initialize = module.Find<LibraryInitialize>("KLibraryDLLInitialize");
    EffectEntry* entry = module.Find<EffectEntry>("HalvaneAudioEffectPluginInterface");
    ASSERT_NE(initialize, nullptr) << dlerror();
    ASSERT_NE(entry, nullptr);

    const KLibrarySetupRecord first{&CountingAllocator<1>::kTable, nullptr, "Companion"};
    KModule* shared = initialize(&first);
    ASSERT_NE(shared, nullptr);
    MakeModuleAllocate(entry);
    const int firstCalls = CountingAllocator<1>::calls.load();
    EXPECT_GT(firstCalls, 0);

    const KLibrarySetupRecord second{&CountingAllocator<2>::kTable, nullptr, "Companion"};
    EXPECT_EQ(initialize(&second), shared);
    MakeModuleAllocate(entry);
    EXPECT_GT(CountingAllocator<2>::calls.load(), 0);
    EXPECT_EQ(CountingAllocator<1>::calls.load(), firstCalls);

    EXPECT_EQ(initialize(nullptr), nullptr);
}

}  // namespace
