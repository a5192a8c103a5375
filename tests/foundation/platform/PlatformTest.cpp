#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "foundation/platform/DataFolder.h"
#include "foundation/platform/Module.h"
#include "foundation/platform/ProcessorFeatures.h"

namespace {

TEST(ProcessorFeatures, EachLevelComesFromItsOwnIdentificationBit) {
    // EDX bit 25 SSE, bit 26 SSE2; ECX bit 0 SSE3, 9 SSSE3, 19 SSE4.1, 20 SSE4.2.
    const auto features = KProcessorFeatures::FromIdentification(1u << 0 | 1u << 19, 1u << 26);
    EXPECT_TRUE(features.sse2 && features.sse3 && features.sse41);
    EXPECT_FALSE(features.sse || features.ssse3 || features.sse42);
    const auto others = KProcessorFeatures::FromIdentification(1u << 9 | 1u << 20, 1u << 25);
    EXPECT_TRUE(others.sse && others.ssse3 && others.sse42);
    EXPECT_FALSE(others.sse2 || others.sse3 || others.sse41);
#if defined(__x86_64__)
    KProcessorFeatures::Detect();  // every 64-bit x86 processor has SSE and SSE2
    EXPECT_TRUE(KProcessorFeatures::Current().sse && KProcessorFeatures::Current().sse2);
#endif
}

#if defined(_WIN32)

// The roaming application-data folder, as the system tells every program
// in the APPDATA variable.
TEST(MakerDataFolder, LiesInTheRoamingApplicationDataFolderAndIsCreated) {
    const char* appData = std::getenv("APPDATA");
    ASSERT_TRUE(appData && *appData);
    const std::filesystem::path folder(KPlatform::MakerDataFolder(u"Quenlor"));
    EXPECT_TRUE(std::filesystem::equivalent(folder, std::filesystem::path(appData) / "Quenlor"));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(ModuleFilePath, NamesTheProgramFileInsideTheProgram) {
    void* program = KPlatform::ExecutableHandle();
    EXPECT_EQ(KPlatform::ModuleHandleOf(reinterpret_cast<const void*>(&KPlatform::ExecutableHandle)), program);
    const std::filesystem::path path(KPlatform::ModuleFilePath(program));
    EXPECT_TRUE(path.is_absolute());
    EXPECT_EQ(path.filename(), "test_foundation.exe");
    EXPECT_EQ(KPlatform::ModuleHandleOf(nullptr), nullptr);
}

#else

std::filesystem::path TempFolder(const char* name) {
    const char* root = std::getenv("HALVANE_TEST_TMP");
    std::filesystem::path folder = std::filesystem::path(root && *root ? root : "/tmp") / "data-folder" / name;
    std::filesystem::remove_all(folder);
    return folder;
}

std::string Utf8(const std::u16string& text) { return std::filesystem::path(text).string(); }

// The data home must be an absolute path; otherwise the default under the
// home folder applies, as when none is set. Either is made on first use.
TEST(MakerDataFolder, LiesInTheDataHomeOrUnderHomeAndIsCreated) {
    const std::filesystem::path data = TempFolder("xdg"), home = TempFolder("home");
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    EXPECT_EQ(Utf8(KPlatform::MakerDataFolder(u"Quenlor")), (data / "Quenlor").string());
    EXPECT_TRUE(std::filesystem::is_directory(data / "Quenlor"));
    for (const char* invalid : {"", "relative/data"}) {
        setenv("XDG_DATA_HOME", invalid, 1);
        EXPECT_EQ(Utf8(KPlatform::MakerDataFolder(u"Quenlor")), (home / ".local/share/Quenlor").string());
    }
    EXPECT_TRUE(std::filesystem::is_directory(home / ".local/share/Quenlor"));
}

TEST(MakerDataFolder, EmptyWhenNoFolderCanBeMade) {
    const std::filesystem::path blocker = TempFolder("blocked");
    std::filesystem::create_directories(blocker.parent_path());
    std::ofstream(blocker.string()) << "a file, not a folder";
    setenv("XDG_DATA_HOME", blocker.c_str(), 1);
    EXPECT_EQ(KPlatform::MakerDataFolder(u"Quenlor"), u"");
    unsetenv("XDG_DATA_HOME");
    unsetenv("HOME");
    EXPECT_EQ(KPlatform::MakerDataFolder(u"Quenlor"), u"");
}

#endif

}  // namespace
