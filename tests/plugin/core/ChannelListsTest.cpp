#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin/core/KChannelLists.h"

namespace {

std::vector<std::string> Names(const KStringList& list) {
    std::vector<std::string> names;
    for (const KString& name : list) names.push_back(name.ToUTF8());
    return names;
}

using Strings = std::vector<std::string>;

TEST(ChannelLists, PlainStereoEffect) {
    const KChannelLists lists;
    EXPECT_EQ(Names(lists.Inputs()), (Strings{"In L", "In R"}));
    EXPECT_EQ(Names(lists.Outputs()), (Strings{"Out L", "Out R"}));
    EXPECT_EQ(lists.ChannelsPerBus(), 2);
    EXPECT_EQ(lists.InputBusCount(), 1);
    EXPECT_EQ(lists.OutputBusCount(), 1);
    EXPECT_EQ(Names(KChannelLists(0, false).Inputs()), Names(lists.Inputs()));  // no bus at all is one
}

TEST(ChannelLists, StereoSideChainsAreNumberedOnlyWhenThereAreSeveral) {
    const KChannelLists one(2, false);
    EXPECT_EQ(Names(one.Inputs()), (Strings{"In L", "In R", "Sidechain L", "Sidechain R"}));
    EXPECT_EQ(one.InputBusCount(), 2);
    EXPECT_EQ(Names(one.Outputs()), (Strings{"Out L", "Out R"}));

    const KChannelLists three(4, false);
    EXPECT_EQ(Names(three.Inputs()), (Strings{"In L", "In R", "Sidechain L 1", "Sidechain R 1", "Sidechain L 2",
                                              "Sidechain R 2", "Sidechain L 3", "Sidechain R 3"}));
    EXPECT_EQ(three.OutputBusCount(), 1);
}

TEST(ChannelLists, SurroundBusesHaveEightChannels) {
    const KChannelLists plain(1, true);
    EXPECT_EQ(Names(plain.Inputs()), (Strings{"In 0", "In 1", "In 2", "In 3", "In 4", "In 5", "In 6", "In 7"}));
    EXPECT_EQ(Names(plain.Outputs()).back(), "Out 7");
    EXPECT_EQ(plain.ChannelsPerBus(), 8);

    const KChannelLists sideChain(2, true);
    ASSERT_EQ(sideChain.Inputs().size(), 16u);
    EXPECT_EQ(sideChain.Inputs()[8].ToUTF8(), "Sidechain 0");
    EXPECT_EQ(sideChain.Inputs()[15].ToUTF8(), "Sidechain 7");

    // 3 buses of 8 channels: 24 inputs, the side-chains numbered 1 and 2.
    const KChannelLists three(3, true);
    ASSERT_EQ(three.Inputs().size(), 24u);
    EXPECT_EQ(three.Inputs()[8].ToUTF8(), "Sidechain 1 0");
    EXPECT_EQ(three.Inputs()[16].ToUTF8(), "Sidechain 2 0");
    EXPECT_EQ(three.Inputs().back().ToUTF8(), "Sidechain 2 7");
    EXPECT_EQ(three.InputBusCount(), 3);
    EXPECT_EQ(three.Outputs().size(), 8u);
}

}  // namespace
