#include <gtest/gtest.h>

#include "ui/layout/KLayout.h"
#include "ui/layout/LayoutTestSupport.h"

namespace {

TEST(LayoutGrid, ColumnsFitTheirControlsAndWeightsTakeTheRest) {
    // Column 0 holds a (20 wide), column 1 holds b (30 wide); c spans both
    // and weighs the last column it covers, which gets the 100 - 50 left:
    // columns start at 0 and 20, b is centred in 20..99 at 20 + (99 - 30 - 20 + 1) / 2 = 45.
    auto window = WindowFromXml(
        "<w sizex=\"100\" sizey=\"50\" controlspacing=\"0\"><layout kind=\"grid\" columns=\"2\">"
        "<control name=\"a\" sizex=\"20\" sizey=\"10\"/><control name=\"b\" sizex=\"30\" sizey=\"10\"/>"
        "<control name=\"c\" sizex=\"10\" sizey=\"10\" hspan=\"2\" layoutratiox=\"1\"/></layout></w>");
    window->Arrange();
    EXPECT_EQ(Named(*window, "a").Rect(), (KLayoutRect{0, 0, 19, 9}));
    EXPECT_EQ(Named(*window, "b").Rect(), (KLayoutRect{45, 0, 74, 9}));
    EXPECT_EQ(Named(*window, "c").Rect(), (KLayoutRect{0, 10, 99, 19}));

    KLayoutSizeState state;
    window->Layout(0).MinimalSize(state);
    EXPECT_EQ(state.MinimalWidth(), 50);
    EXPECT_EQ(state.MinimalHeight(), 20);
}

TEST(LayoutGrid, VerticalFillGoesDownTheColumnsFirst) {
    auto window = WindowFromXml(
        "<w sizex=\"40\" sizey=\"40\" controlspacing=\"2\"><layout kind=\"grid\" columns=\"2\" rows=\"2\" "
        "verticalfill=\"1\"><control name=\"a\" sizex=\"10\" sizey=\"10\" layoutplacement=\"5\"/>"
        "<control name=\"b\" sizex=\"10\" sizey=\"10\" layoutplacement=\"5\"/>"
        "<control name=\"c\" sizex=\"10\" sizey=\"10\" layoutplacement=\"5\"/></layout></w>");
    window->Arrange();
    // Tracks of 10 with spacing 2: the second column and row start at 12.
    EXPECT_EQ(Named(*window, "a").Rect(), (KLayoutRect{0, 0, 9, 9}));
    EXPECT_EQ(Named(*window, "b").Rect(), (KLayoutRect{0, 12, 9, 21}));
    EXPECT_EQ(Named(*window, "c").Rect(), (KLayoutRect{12, 0, 21, 9}));
}

}  // namespace
