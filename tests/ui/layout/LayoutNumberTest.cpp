#include <gtest/gtest.h>

#include "support/FailureMessage.h"
#include "ui/layout/LayoutTestSupport.h"

// A description's numbers are held to ranges no real window leaves: extents
// to ±10,000 pixels, weights to 0..10,000, grid counts to 0..256. Numbers
// past an int once wrapped to arbitrary values and overflowed the sums.
namespace {

TEST(LayoutNumbers, AHugeWeightSharesTheFreeSpaceAsTheLargestWeight) {
    // 4,000,000,000 is held to 10,000: a gets 10,000 * 100 / 10,001 = 99 and
    // b the one pixel left.
    auto window = WindowFromXml(
        "<w sizex=\"50\" sizey=\"100\" controlspacing=\"0\"><layout kind=\"vertical\">"
        "<control name=\"a\" layoutratiox=\"1\" layoutratioy=\"4000000000\"/>"
        "<control name=\"b\" layoutratiox=\"1\" layoutratioy=\"1\"/></layout></w>");
    window->Arrange();
    EXPECT_EQ(Named(*window, "a").Rect(), (KLayoutRect{0, 0, 49, 98}));
    EXPECT_EQ(Named(*window, "b").Rect(), (KLayoutRect{0, 99, 49, 99}));
}

TEST(LayoutNumbers, AWeightPastEveryIntegerStillFillsItsStrip) {
    // The top side takes the title's 20 plus spacing 4; the only weighted
    // control of the column below takes all of rows 24..99.
    auto window = WindowFromXml(
        "<editor sizex=\"100\" sizey=\"100\" controlspacing=\"4\"><layout kind=\"top\">"
        "<control name=\"title\" sizey=\"20\" layoutratiox=\"1\"/></layout><layout kind=\"vertical\">"
        "<control name=\"p\" layoutratioy=\"1666666666666666666666666666666666666666666\"><layout kind=\"vertical\">"
        "<control name=\"knob\" sizex=\"40\" sizey=\"40\"/></layout></control></layout></editor>");
    window->Arrange();
    EXPECT_EQ(Named(*window, "p").Rect().top, 24);
    EXPECT_EQ(Named(*window, "p").Rect().bottom, 99);
}

TEST(LayoutNumbers, ANegativeWeightIsNoWeight) {
    auto window = WindowFromXml(
        "<w sizex=\"50\" sizey=\"100\" controlspacing=\"0\"><layout kind=\"vertical\">"
        "<control name=\"a\" sizex=\"50\" sizey=\"10\" layoutratioy=\"-3\"/></layout></w>");
    window->Arrange();
    EXPECT_EQ(Named(*window, "a").Rect().Height(), 10);
}

TEST(LayoutNumbers, AHugeSpacingIsHeldToTheLimit) {
    // 99,999,999,999 is held to 10,000: 5 + 10,000 + 5 high.
    auto window = WindowFromXml(
        "<w controlspacing=\"99999999999\"><layout kind=\"vertical\">"
        "<control sizex=\"5\" sizey=\"5\"/><control sizex=\"5\" sizey=\"5\"/></layout></w>");
    int width = 0, height = 0;
    window->ComputeMinimalClientSize(width, height);
    EXPECT_EQ(height, 5 + 10'000 + 5);
}

TEST(LayoutNumbers, ANumberPastAnIntDoesNotWrapIntoAnotherMeaning) {
    // 2^32 + 1 columns once wrapped to 1 and stacked the controls; held to
    // 256 columns, they stand side by side.
    auto grid = WindowFromXml(
        "<w sizex=\"100\" sizey=\"100\" controlspacing=\"0\"><layout kind=\"grid\" columns=\"4294967297\">"
        "<control name=\"a\" sizex=\"10\" sizey=\"10\"/><control name=\"b\" sizex=\"10\" sizey=\"10\"/></layout></w>");
    grid->Arrange();
    EXPECT_EQ(Named(*grid, "a").Rect().top, Named(*grid, "b").Rect().top);
    EXPECT_GT(Named(*grid, "b").Rect().left, Named(*grid, "a").Rect().right);

    // Direction 2^32 once wrapped to 0, a valid side.
    auto side = WindowFromXml("<w sizex=\"9\" sizey=\"9\"><layout kind=\"side\" direction=\"4294967296\">"
                              "<control sizex=\"2\" sizey=\"2\"/></layout></w>");
    EXPECT_EQ(FailureMessage([&] { side->Arrange(); }), "Invalid side-layout direction.");
}

}  // namespace
