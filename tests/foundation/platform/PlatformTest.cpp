#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "foundation/platform/DataFolder.h"
#include "foundation/platform/ProcessorFeatures.h"

namespace {

TEST(ProcessorFeatures, EachLevelComesFromItsOwnIdentificationBit) {
    // EDX bit 25 SSE, bit 26 SSE2; ECX bit 0 SSE3, 9 SSSE3, 19 SSE4.1, 20 SSE4.2.
    const KProcessorFeatures none = KProcessorFeatures::FromIdentification(~0u ^ (1u << 0 | 1u << 9 | 1u << 19 | 1u << 20),
                                                                           ~0u ^ (1u << 25 | 1u << 26));
    EXPECT_FALSE(none.sse || none.sse2 || none.sse3 || none.ssse3 || none.sse41 || none.sse42);

    EXPECT_TRUE(KProcessorFeatures::FromIdentification(0, 1u << 25).sse);
    EXPECT_TRUE(KProcessorFeatures::FromIdentification(0, 1u << 26).sse2);
    EXPECT_TRUE(KProcessorFeatures::FromIdentification(1u << 0, 0).sse3);
    EXPECT_TRUE(KProcessorFeatures::FromIdentification(1u << 9, 0).ssse3);
    EXPECT_TRUE(KProcessorFeatures::FromIdentification(1u << 19, 0).sse41);
    const KProcessorFeatures sse42 = KProcessorFeatures::FromIdentification(1u << 20, 0);
    EXPECT_TRUE(sse42.sse42);
    EXPECT_FALSE(sse42.sse41 || sse42.sse || sse42.sse2);
}

#if defined(__x86_64__)
// Every 64-bit x86 processor has SSE and SSE2.
TEST(ProcessorFeatures, DetectionFindsTheLevelsEvery64BitProcessorHas) {
    KProcessorFeatures::Detect();
    EXPECT_TRUE(KProcessorFeatures::Current().sse);
    EXPECT_TRUE(KProcessorFeatures::Current().sse2);
}
#endif

// Sets environment variables for one test and restores them afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedVariable() {
        if (m_old) setenv(m_name, m_old->c_str(), 1);
        else unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

std::filesystem::path TempFolder(const char* name) {
    const char* root = std::getenv("HALVANE_TEST_TMP");
    std::filesystem::path folder = std::filesystem::path(root && *root ? root : "/tmp") / "data-folder" / name;
    std::filesystem::remove_all(folder);
    return folder;
}

std::string Utf8(const std::u16string& text) { return std::filesystem::path(text).string(); }

TEST(MakerDataFolder, LiesInTheDataHomeAndIsCreatedOnFirstUse) {
    const std::filesystem::path data = TempFolder("xdg");
    ScopedVariable xdg("XDG_DATA_HOME", data.c_str());
    const std::string folder = Utf8(KPlatform::MakerDataFolder(u"Quenlor"));
    EXPECT_EQ(folder, (data / "Quenlor").string());
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(Utf8(KPlatform::MakerDataFolder(u"Quenlor")), folder);  // an existing folder is fine
}

// A data home that is not an absolute path is not valid, so the default
// under the home folder applies, as when none is set.
TEST(MakerDataFolder, DefaultsToLocalShareUnderHome) {
    const std::filesystem::path home = TempFolder("home");
    ScopedVariable homeVariable("HOME", home.c_str());
    for (const char* dataHome : {static_cast<const char*>(nullptr), "", "relative/data"}) {
        ScopedVariable xdg("XDG_DATA_HOME", dataHome);
        EXPECT_EQ(Utf8(KPlatform::MakerDataFolder(u"Quenlor")), (home / ".local/share/Quenlor").string());
    }
    EXPECT_TRUE(std::filesystem::is_directory(home / ".local/share/Quenlor"));
}

TEST(MakerDataFolder, EmptyWhenNoFolderCanBeMade) {
    const std::filesystem::path blocker = TempFolder("blocked");
    std::filesystem::create_directories(blocker.parent_path());
    { std::ofstream(blocker.string()) << "a file, not a folder"; }
    ScopedVariable xdg("XDG_DATA_HOME", blocker.c_str());
    EXPECT_EQ(KPlatform::MakerDataFolder(u"Quenlor"), u"");
    ScopedVariable home("HOME", nullptr);
    ScopedVariable none("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(KPlatform::MakerDataFolder(u"Quenlor"), u"");
}

}  // namespace
