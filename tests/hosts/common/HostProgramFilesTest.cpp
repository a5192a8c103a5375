// The host programs' comparison decides whether two builds sound alike; a
// comparison that let a difference through would hide every fault behind it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "hosts/vst3/Vst3TestHost.h"
#include "support/hostprogram/RawAudioFiles.h"

namespace {

using HostProgram::CompareRenderings;

// Named after the running test: CTest runs the tests in parallel processes.
std::string TempFile(const std::string& name) {
    const char* folder = std::getenv("HALVANE_TEST_TMP");
    const std::filesystem::path path = folder ? folder : std::filesystem::temp_directory_path().string();
    std::filesystem::create_directories(path);
    return (path / (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" + name))
        .string();
}

int Compare(const std::vector<float>& a, const std::vector<float>& b) {
    const std::string first = TempFile("a.raw"), second = TempFile("b.raw");
    HostProgram::WriteSamples(first, a);
    HostProgram::WriteSamples(second, b);
    return CompareRenderings(first, second);
}

TEST(HostProgramFiles, RenderingsAgreeOnlyWithinOneMillionth) {
    const std::vector<float> reference = {0.5f, -0.25f, 0.0f, 1.0f};
    EXPECT_EQ(Compare(reference, reference), 0);
    // 5e-7 apart (a float step near 0.5 is 6e-8): within the tolerance.
    EXPECT_EQ(Compare(reference, {0.5f + 5e-7f, -0.25f, 0.0f, 1.0f}), 0);
    // 2e-6 apart in the last sample only.
    EXPECT_EQ(Compare(reference, {0.5f, -0.25f, 0.0f, 1.0f - 2e-6f}), 1);
}

TEST(HostProgramFiles, ANaNAMissingSampleOrNothingAtAllIsADifference) {
    const std::vector<float> reference = {0.5f, -0.25f, 0.0f, 1.0f};
    EXPECT_EQ(Compare(reference, {0.5f, std::numeric_limits<float>::quiet_NaN(), 0.0f, 1.0f}), 1);
    EXPECT_EQ(Compare(reference, {0.5f, -0.25f, 0.0f}), 1);
    EXPECT_EQ(Compare({}, {}), 1);
}

// The programs load the module from its bundle as a host does; the build
// must put it exactly there.
TEST(HostProgramFiles, TheBuiltBundleHoldsItsBinaryWhereHostsLook) {
    const std::filesystem::path module(HALVANE_VST3_MODULE);
    const std::string bundle = module.parent_path().parent_path().parent_path().string();
    EXPECT_EQ(vst3test::BundleBinary(bundle), module.string());
    EXPECT_EQ(vst3test::BundleBinary(bundle + "/"), module.string());
}

}  // namespace
