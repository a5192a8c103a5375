// The built Halvane.dll as a Windows host sees it: loaded with LoadLibraryW
// and used only through the entries it exports.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <windows.h>

#include "hosts/common/KLibraryExports.h"
#include "hosts/common/KModule.h"
#include "support/CountingAllocator.h"

namespace {

class LoadedLibrary {
public:
    LoadedLibrary() : m_handle(LoadLibraryW(HALVANE_MODULE)) {}
    ~LoadedLibrary() { Free(); }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    bool IsLoaded() const { return m_handle != nullptr; }
    bool Free() {
        const bool freed = m_handle && FreeLibrary(m_handle);
        m_handle = nullptr;
        return freed;
    }
    template <class Function>
    Function* Find(const char* name) const {
        return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(m_handle, name)));
    }

private:
    HMODULE m_handle;
};

using EffectEntry = std::intptr_t(void*, std::int32_t, std::int64_t*);
using Hook = bool();
using LibraryInitialize = KModule*(const KLibrarySetupRecord*);

constexpr std::int32_t kCreateEffect = 7;
constexpr std::int32_t kDestroyEffect = 1;

// Loading runs the library's attach, which must accept; the hooks of VST 3
// hosts answer true. The POSIX module's own hooks are not Windows entries.
TEST(WindowsModule, LoadsAndItsHooksAnswerTrue) {
    LoadedLibrary library;
    ASSERT_TRUE(library.IsLoaded()) << "LoadLibraryW failed with error " << GetLastError();
    for (const char* name : {"InitDll", "ExitDll"}) {
        Hook* hook = library.Find<Hook>(name);
        ASSERT_NE(hook, nullptr) << name;
        EXPECT_TRUE(hook()) << name;
    }
    for (const char* hidden : {"ModuleEntry", "ModuleExit", "KStartLibrarySubsystems"})
        EXPECT_EQ(library.Find<void>(hidden), nullptr) << hidden;
}

TEST(WindowsModule, EffectEntryCreatesWithoutHandleAndAnswersAGivenHandle) {
    LoadedLibrary library;
    EffectEntry* entry = library.Find<EffectEntry>("HalvaneAudioEffectPluginInterface");
    ASSERT_NE(entry, nullptr);
    std::int64_t block[8] = {};
    void* first = reinterpret_cast<void*>(entry(nullptr, kCreateEffect, block));
    void* second = reinterpret_cast<void*>(entry(nullptr, kCreateEffect, block));
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(reinterpret_cast<void*>(entry(first, kCreateEffect, block)), first);
    EXPECT_EQ(entry(first, kDestroyEffect, block), 0);
    EXPECT_EQ(entry(second, kDestroyEffect, block), 0);
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = wchar_t(towlower(c));
    return text;
}

// The module instance knows the library's own file (from the instance
// handle that attach received), not the program's. Unloading destroys it at
// detach, and a second load starts afresh.
TEST(WindowsModule, ModuleInstanceNamesTheLibraryFileAndSurvivesReloading) {
    for (int load = 0; load < 2; ++load) {
        LoadedLibrary library;
        LibraryInitialize* initialize = library.Find<LibraryInitialize>("KLibraryDLLInitialize");
        ASSERT_NE(initialize, nullptr);
        const KLibrarySetupRecord record{&CountingAllocator<0>::kTable, nullptr, "Companion"};
        KModule* module = initialize(&record);
        ASSERT_NE(module, nullptr);
        EXPECT_EQ(initialize(&record), module);

        const std::u16string path = module->LibraryPath().ToUTF16();
        const std::wstring wide(path.begin(), path.end());
        wchar_t expected[MAX_PATH];
        ASSERT_NE(GetFullPathNameW(HALVANE_MODULE, MAX_PATH, expected, nullptr), 0u);
        EXPECT_EQ(Lower(wide), Lower(expected));
        EXPECT_EQ(module->Name().ToUTF8(), "Quenlor Halvane");
        EXPECT_TRUE(library.Free());
    }
}

}  // namespace
