// `halvane editor --screenshot`: a PNG of the editor, drawn without a display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/ToolRunner.h"

namespace {

namespace fs = std::filesystem;

fs::path Temporary(const std::string& name) {
    const fs::path folder = fs::path(std::getenv("HALVANE_TEST_TMP") ? std::getenv("HALVANE_TEST_TMP") : "/tmp");
    fs::create_directories(folder);
    return folder / name;
}

// A PNG file starts with its 8-byte signature and the IHDR chunk, whose data
// begins with the width and height, big-endian, at bytes 16 and 20.
bool ReadPngSize(const fs::path& file, unsigned& width, unsigned& height) {
    std::ifstream in(file, std::ios::binary);
    unsigned char header[24] = {};
    if (!in.read(reinterpret_cast<char*>(header), sizeof header)) return false;
    if (header[1] != 'P' || header[2] != 'N' || header[3] != 'G') return false;
    auto word = [&](int at) {
        return unsigned(header[at]) << 24 | unsigned(header[at + 1]) << 16 | unsigned(header[at + 2]) << 8 |
               unsigned(header[at + 3]);
    };
    width = word(16);
    height = word(20);
    return true;
}

TEST(HalvaneEditorCommand, WritesAPictureAtTheDefaultOrTheGivenSize) {
    const fs::path file = Temporary("editor-default.png");
    fs::remove(file);
    ASSERT_EQ(RunTool("editor --screenshot " + file.string() + " --set frequency0=440").status, 0);
    unsigned width = 0, height = 0;
    ASSERT_TRUE(ReadPngSize(file, width, height));
    // The description's own size.
    EXPECT_EQ(width, 940u);
    EXPECT_EQ(height, 720u);

    const fs::path large = Temporary("editor-large.png");
    ASSERT_EQ(RunTool("editor --screenshot " + large.string() + " --size 1300x950").status, 0);
    ASSERT_TRUE(ReadPngSize(large, width, height));
    EXPECT_EQ(width, 1300u);
    EXPECT_EQ(height, 950u);
}

TEST(HalvaneEditorCommand, RefusesBadSizesSettingsAndUnwritableFiles) {
    const std::string file = Temporary("editor-bad.png").string();
    EXPECT_EQ(RunTool("editor --screenshot " + file + " --size wide").status, 2);
    EXPECT_EQ(RunTool("editor --screenshot " + file + " --set frequency0=loud").status, 2);
    const RunResult unwritable = RunTool("editor --screenshot /nonexistent-folder/editor.png");
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_NE(unwritable.output.find("Cannot write the picture"), std::string::npos) << unwritable.output;
}

}  // namespace
