#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "foundation/platform/FileSystem.h"
#include "foundation/threading/ThreadTestSupport.h"

namespace {

namespace fs = std::filesystem;

fs::path TempFolder(const char* name) {
    const char* root = std::getenv("HALVANE_TEST_TMP");
    const fs::path folder = (root && *root ? fs::path(root) : fs::temp_directory_path()) / "file-system" / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

std::u16string Units(const fs::path& path) { return path.u16string(); }

void WriteText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Replacing must succeed over an existing file (a plain rename refuses that
// on Windows) and leave exactly one of the two names.
TEST(FileSystem, ReplaceTakesThePlaceOfAnExistingFile) {
    const fs::path folder = TempFolder("replace");
    const fs::path target = folder / "presets.xml", fresh = folder / "presets.xml.new";
    WriteText(target, "old");
    WriteText(fresh, "new");
    ASSERT_TRUE(KPlatform::ReplaceFile(Units(fresh), Units(target)));
    EXPECT_EQ(ReadText(target), "new");
    EXPECT_FALSE(KPlatform::FileExists(Units(fresh)));

    EXPECT_FALSE(KPlatform::ReplaceFile(Units(fresh), Units(target)));  // nothing left to move
    EXPECT_EQ(ReadText(target), "new");
}

TEST(FileSystem, ExistsOnlyForFilesAndDeleteRemovesThem) {
    const fs::path folder = TempFolder("exists");
    const fs::path file = folder / u"\u00e9t\u00e9.txt";  // a name beyond ASCII
    WriteText(file, "x");
    EXPECT_TRUE(KPlatform::FileExists(Units(file)));
    EXPECT_FALSE(KPlatform::FileExists(Units(folder)));
    EXPECT_TRUE(KPlatform::DeleteFile(Units(file)));
    EXPECT_FALSE(KPlatform::FileExists(Units(file)));
    EXPECT_FALSE(KPlatform::DeleteFile(Units(file)));
}

// A second locker, even in the same process, waits until the first one
// unlocks; the lock file is made when missing.
TEST(FileSystem, LockExcludesASecondLockerUntilUnlocked) {
    const fs::path lockPath = TempFolder("lock") / "presets.lock";
    KPlatform::FileLock* first = KPlatform::LockFile(Units(lockPath));
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(fs::exists(lockPath));

    std::atomic<bool> firstReleased{false}, secondHeldTooEarly{false};
    test_support::Event secondLocked;
    std::thread second([&] {
        KPlatform::FileLock* lock = KPlatform::LockFile(Units(lockPath));
        secondHeldTooEarly = !firstReleased.load();
        secondLocked.Set();
        KPlatform::UnlockFile(lock);
    });
    EXPECT_FALSE(secondLocked.WaitFor(std::chrono::milliseconds(200)));
    firstReleased = true;
    KPlatform::UnlockFile(first);
    EXPECT_TRUE(secondLocked.WaitFor());
    second.join();
    EXPECT_FALSE(secondHeldTooEarly.load());

    EXPECT_EQ(KPlatform::LockFile(Units(lockPath.parent_path() / "missing" / "x.lock")), nullptr);
}

}  // namespace
