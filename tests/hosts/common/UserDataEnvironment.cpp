#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// Plug-in objects read the maker's global settings from the user's data
// folder; the tests give them a folder of their own, empty at the start.
class UserDataEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        const char* root = std::getenv("HALVANE_TEST_TMP");
        const std::filesystem::path folder = std::filesystem::path(root && *root ? root : "/tmp") / "hosts-user-data";
        std::filesystem::remove_all(folder);
        setenv("XDG_DATA_HOME", folder.c_str(), 1);
    }
};

[[maybe_unused]] ::testing::Environment* const gUserData =
    ::testing::AddGlobalTestEnvironment(new UserDataEnvironment);

}  // namespace
