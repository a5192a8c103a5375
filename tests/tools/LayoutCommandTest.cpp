#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/ToolRunner.h"

namespace {

namespace fs = std::filesystem;

fs::path WriteDescription(const std::string& name, const std::string& xml) {
    const fs::path folder = fs::path(std::getenv("HALVANE_TEST_TMP") ? std::getenv("HALVANE_TEST_TMP") : "/tmp");
    fs::create_directories(folder);
    const fs::path path = folder / name;
    std::ofstream(path) << xml;
    return path;
}

TEST(HalvaneLayout, PrintsEveryControlsRectangleInWindowCoordinates) {
    // A 20-pixel title on top, spacing 4; the panel below fills the rest.
    // Its column stacks the unweighted 40 x 40 knob from the top (y = 24)
    // and centres it across: x = 0 + (99 - 40 - 0 + 1) / 2 = 30.
    const fs::path file = WriteDescription(
        "layout-ok.xml",
        "<editor sizex=\"100\" sizey=\"100\" controlspacing=\"4\">"
        "<layout kind=\"top\"><control name=\"title\" sizex=\"50\" sizey=\"20\" layoutratiox=\"1\"/></layout>"
        "<layout kind=\"vertical\"><control name=\"panel\" layoutratiox=\"1\" layoutratioy=\"1\">"
        "<layout kind=\"vertical\"><control name=\"knob\" sizex=\"40\" sizey=\"40\"/></layout>"
        "</control></layout></editor>");
    const RunResult result = RunTool("layout " + file.string());
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("title: 0 0 99 19 (100x20)"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("panel: 0 24 99 99 (100x76)"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("knob: 30 24 69 63 (40x40)"), std::string::npos) << result.output;

    const RunResult wider = RunTool("layout " + file.string() + " --size 200x100");
    EXPECT_NE(wider.output.find("title: 0 0 199 19"), std::string::npos) << wider.output;
}

TEST(HalvaneLayout, ABadDescriptionExitsWithItsMessage) {
    const fs::path file = WriteDescription(
        "layout-bad.xml", "<e><layout kind=\"corner\"><control name=\"x\" target=\"missing\"/></layout></e>");
    const RunResult result = RunTool("layout " + file.string());
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.output.find("Invalid target for corner layout."), std::string::npos) << result.output;
    EXPECT_EQ(RunTool("layout " + file.string() + " --size 12by4").status, 2);
}

}  // namespace
