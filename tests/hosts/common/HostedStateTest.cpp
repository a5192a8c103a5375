#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "hosts/common/KHostedPlugin.h"
#include "presets/state/KStateBlock.h"

namespace {

std::vector<std::uint8_t> Bytes(KMemoryStream block) { return {block.Data(), block.Data() + block.Size()}; }

TEST(HostedState, ABlockThatCannotBeReadChangesNothing) {
    auto hosted = KHostedPlugin::Create();
    hosted->SetParameter(3, 0.4);
    const std::vector<std::uint8_t> before = Bytes(hosted->SaveState());
    ASSERT_FALSE(before.empty());
    // zlib magic followed by garbage, half a document, nothing at all.
    const std::string broken[] = {"\x78\xDA\x01\x02\x03 junk", "<settings parameterdepth0=\"0\"", "", "   "};
    for (const std::string& block : broken) {
        EXPECT_FALSE(hosted->LoadState(block.data(), int(block.size()))) << block;
        EXPECT_EQ(Bytes(hosted->SaveState()), before) << block;
    }
    EXPECT_FALSE(hosted->LoadState(nullptr, 10));
    EXPECT_EQ(Bytes(hosted->SaveState()), before);
}

TEST(HostedState, TheBlockIsZlibAtLevelNineOfAUtf8Document) {
    auto hosted = KHostedPlugin::Create();
    const std::vector<std::uint8_t> block = Bytes(hosted->SaveState());
    ASSERT_GE(block.size(), 2u);
    EXPECT_EQ(block[0], 0x78);
    EXPECT_EQ(block[1], 0xDA);  // the header of the highest compression level
    EXPECT_EQ(KStateBlock::Parse(block.data(), int(block.size()))->Encoding().ToUTF8(), "utf-8");

    auto other = KHostedPlugin::Create();
    other->SetParameter(3, 0.1);
    EXPECT_TRUE(other->LoadState(block.data(), int(block.size())));
    EXPECT_NEAR(other->Parameter(3), hosted->Parameter(3), 1e-9);
}

}  // namespace
