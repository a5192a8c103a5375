#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// Plug-in objects read the maker's global settings from the user's data
// folder; the tests give them a folder of their own, empty at the start
// (one per process: CTest runs the tests in parallel processes).
class UserDataEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        const char* root = std::getenv("HALVANE_TEST_TMP");
        const std::filesystem::path folder = std::filesystem::path(root && *root ? root : "/tmp") / ("hosts-user-data-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        setenv("XDG_DATA_HOME", folder.c_str(), 1);
    }
};

[[maybe_unused]] ::testing::Environment* const gUserData =
    ::testing::AddGlobalTestEnvironment(new UserDataEnvironment);

}  // namespace
