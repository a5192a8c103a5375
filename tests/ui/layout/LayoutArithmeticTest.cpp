#include <gtest/gtest.h>

#include "support/FailureMessage.h"
#include "ui/layout/KLayoutClient.h"
#include "ui/layout/KLayoutCorner.h"
#include "ui/layout/KLayoutOccupyBorder.h"
#include "ui/layout/KLayoutSide.h"
#include "ui/layout/KLayoutStrip.h"
#include "ui/layout/KLayoutSwitch.h"
#include "ui/layout/LayoutTestSupport.h"

namespace {

TEST(LayoutColumn, WeightsShareTheFreeHeight) {
    // Height 100, spacing 0, weights 1 and 2: 1 * 100 / 3 = 33, then the
    // last weighted control takes the remaining 67.
    auto window = WindowFromXml(
        "<w sizex=\"50\" sizey=\"100\" controlspacing=\"0\"><layout kind=\"vertical\">"
        "<control name=\"a\" layoutratiox=\"1\" layoutratioy=\"1\"/><control name=\"b\" layoutratiox=\"1\" layoutratioy=\"2\"/></layout></w>");
    window->Arrange();
    EXPECT_EQ(Named(*window, "a").Rect(), (KLayoutRect{0, 0, 49, 32}));
    EXPECT_EQ(Named(*window, "b").Rect(), (KLayoutRect{0, 33, 49, 99}));
}

TEST(LayoutColumn, AFixedControlAndSpacingLeaveTheRestToTheWeights) {
    // free = 100 - (20 + 3 * 4) + 4 = 72: weights 1 and 2 get 24 and 48.
    auto window = WindowFromXml(
        "<w sizex=\"50\" sizey=\"100\" controlspacing=\"4\"><layout kind=\"vertical\">"
        "<control name=\"a\" layoutratiox=\"1\" layoutratioy=\"1\"/><control name=\"fixed\" sizex=\"10\" sizey=\"20\" layoutplacement=\"1\"/>"
        "<control name=\"b\" layoutratiox=\"1\" layoutratioy=\"2\"/></layout></w>");
    window->Arrange();
    EXPECT_EQ(Named(*window, "a").Rect(), (KLayoutRect{0, 0, 49, 23}));
    EXPECT_EQ(Named(*window, "fixed").Rect(), (KLayoutRect{0, 28, 9, 47}));
    EXPECT_EQ(Named(*window, "b").Rect(), (KLayoutRect{0, 52, 49, 99}));
}

TEST(LayoutSide, LeftDocksAsThickAsItsWidestControl) {
    auto window = WindowFromXml(
        "<w sizex=\"200\" sizey=\"100\" controlspacing=\"4\"><layout kind=\"left\">"
        "<control name=\"wide\" sizex=\"50\" sizey=\"30\"/><control name=\"narrow\" sizex=\"30\" sizey=\"10\"/>"
        "</layout></w>");
    KLayout& left = window->Layout(0);
    EXPECT_EQ(left.Arrange({0, 0, 199, 99}), (KLayoutRect{54, 0, 199, 99}));
    // Both centred across the 50-pixel strip, stacked from the top.
    EXPECT_EQ(Named(*window, "wide").Rect(), (KLayoutRect{0, 0, 49, 29}));
    EXPECT_EQ(Named(*window, "narrow").Rect(), (KLayoutRect{10, 34, 39, 43}));
}

TEST(LayoutSide, EveryDirectionTakesItsOwnEdge) {
    auto window = WindowFromXml(
        "<w sizex=\"100\" sizey=\"80\" controlspacing=\"2\">"
        "<layout kind=\"top\"><control name=\"t\" sizex=\"10\" sizey=\"8\"/></layout>"
        "<layout kind=\"bottom\"><control name=\"b\" sizex=\"10\" sizey=\"6\"/></layout>"
        "<layout kind=\"right\"><control name=\"r\" sizex=\"12\" sizey=\"5\"/></layout>"
        "<layout kind=\"side\" direction=\"0\"><control name=\"l\" sizex=\"7\" sizey=\"5\"/></layout></w>");
    KLayoutRect free{0, 0, 99, 79};
    for (int i = 0; i < window->LayoutCount(); ++i) free = window->Layout(i).Arrange(free);
    // top: 8 + 2, bottom: 6 + 2, right: 12 + 2, left: 7 + 2.
    EXPECT_EQ(free, (KLayoutRect{9, 10, 85, 71}));
    EXPECT_EQ(Named(*window, "b").Rect().bottom, 79);
    EXPECT_EQ(Named(*window, "r").Rect().right, 99);
}

TEST(LayoutPlacement, CentredAndAlignedInsideTheCell) {
    KLayoutControl control;
    control.Properties().width = 10;
    control.Properties().height = 4;
    KLayoutStrip::Place(control, {0, 0, 20, 3});
    EXPECT_EQ(control.Rect().left, 5);  // 0 + (20 - 10 - 0 + 1) / 2
    control.Properties().placement = KLayoutProperties::kAlignRight;
    control.Properties().borderX = 2;
    KLayoutStrip::Place(control, {0, 0, 20, 3});
    EXPECT_EQ(control.Rect().left, 8);  // 20 - 2 - 10
}

TEST(LayoutColumn, ACollapsedControlShowsItsCollapsedHeight) {
    auto window = WindowFromXml(
        "<w sizex=\"40\" sizey=\"100\" controlspacing=\"0\"><layout kind=\"vertical\">"
        "<control name=\"folded\" sizex=\"40\" sizey=\"40\" layoutratioy=\"1\" collapsed=\"1\" layoutplacement=\"4\"/>"
        "<control name=\"next\" sizex=\"40\" sizey=\"10\" layoutplacement=\"4\"/></layout></w>");
    KLayoutControl& folded = Named(*window, "folded");
    folded.SetCollapsedSize(KAxis::Vertical, 12);
    window->Arrange();
    // Collapsed, it gives up its weight: a cell of its collapsed height.
    EXPECT_EQ(folded.Size(KAxis::Vertical), 40);
    EXPECT_EQ(Named(*window, "next").Rect().top, 12);
}

TEST(LayoutVisibility, InvisibleControlsTakeNoPart) {
    auto window = WindowFromXml(
        "<w sizex=\"100\" sizey=\"100\" controlspacing=\"3\">"
        "<layout kind=\"left\"><control name=\"a\" sizex=\"30\" sizey=\"30\" posx=\"7\" posy=\"9\" visible=\"0\"/></layout>"
        "<layout kind=\"horizontal\"><control name=\"b\" sizex=\"30\" sizey=\"30\" posx=\"5\" posy=\"6\" visible=\"0\"/>"
        "</layout></w>");
    EXPECT_EQ(window->Layout(0).Arrange({0, 0, 99, 99}), (KLayoutRect{0, 0, 99, 99}));
    EXPECT_EQ(window->Layout(1).Arrange({0, 0, 99, 99}), KLayoutRect::Empty());
    EXPECT_EQ(Named(*window, "a").Rect(), (KLayoutRect{7, 9, 36, 38}));
    EXPECT_EQ(Named(*window, "b").Rect(), (KLayoutRect{5, 6, 34, 35}));
}

TEST(LayoutSwitch, PlacesOnlyTheFirstVisibleControl) {
    auto window = WindowFromXml(
        "<w sizex=\"100\" sizey=\"60\" controlspacing=\"0\"><layout kind=\"switch\">"
        "<control name=\"hidden\" sizex=\"10\" sizey=\"10\" visible=\"0\"/>"
        "<control name=\"page\" layoutratiox=\"1\" layoutratioy=\"1\"/>"
        "<control name=\"other\" sizex=\"5\" sizey=\"5\" posx=\"70\" posy=\"50\"/></layout></w>");
    EXPECT_EQ(window->Layout(0).Arrange({0, 0, 99, 59}), KLayoutRect::Empty());
    EXPECT_EQ(Named(*window, "page").Rect(), (KLayoutRect{0, 0, 99, 59}));
    EXPECT_EQ(Named(*window, "other").Rect(), (KLayoutRect{70, 50, 74, 54}));
}

TEST(LayoutOccupyBorder, KeepsMarginsAndTakesNoControls) {
    KLayoutControl window;
    KLayoutOccupyBorder border(window, 3, 4, 5, 6);
    EXPECT_EQ(border.Arrange({0, 0, 99, 49}), (KLayoutRect{3, 4, 94, 43}));
    EXPECT_EQ(border.Arrange({0, 0, 5, 5}), (KLayoutRect{3, 4, 3, 4}));  // never inside out
    KLayoutControl child;
    EXPECT_EQ(FailureMessage([&] { border.AddControl(child); }),
              "Service \"add control to occupy-space layout\" is not implemented.");
}

TEST(LayoutFailures, NameTheirCause) {
    KLayoutControl window;
    KLayoutSide side(window, 4);
    EXPECT_EQ(FailureMessage([&] { side.Arrange({0, 0, 9, 9}); }), "Invalid side-layout direction.");
    EXPECT_EQ(FailureMessage([] {
                  WindowFromXml("<w><layout kind=\"corner\"><control name=\"x\" target=\"nowhere\"/></layout></w>");
              }),
              "Invalid target for corner layout.");
    EXPECT_EQ(FailureMessage([] {
                  WindowFromXml("<w sizex=\"9\" sizey=\"9\"><layout kind=\"vertical\">"
                                "<control plastic=\"1\"/></layout></w>")->Arrange();
              }),
              "Service \"compute plastic control size\" is not implemented.");
    EXPECT_EQ(FailureMessage([] { WindowFromXml("<w><layout kind=\"diagonal\"/></w>"); }),
              "Unknown layout kind \"diagonal\".");
}

TEST(LayoutPlastic, HeightFollowsTheWidth) {
    // An area of 1000 in a column 100 wide less two borders of 5: 1000 / 90
    // rounded up = 12.
    auto window = WindowFromXml(
        "<w sizex=\"100\" sizey=\"200\" controlspacing=\"0\"><layout kind=\"vertical\">"
        "<control name=\"text\" plasticarea=\"1000\" layoutborderx=\"5\"/>"
        "<control name=\"below\" sizex=\"10\" sizey=\"10\" layoutplacement=\"5\"/></layout></w>");
    window->Arrange();
    EXPECT_EQ(Named(*window, "text").Rect(), (KLayoutRect{5, 0, 94, 11}));
    EXPECT_EQ(Named(*window, "below").Rect().top, 12);
}

TEST(LayoutCorner, PinsToTheTargetsCorner) {
    auto window = WindowFromXml(
        "<w sizex=\"100\" sizey=\"100\" controlspacing=\"0\">"
        "<layout kind=\"vertical\"><control name=\"panel\" layoutratiox=\"1\" layoutratioy=\"1\"/></layout>"
        "<layout kind=\"corner\"><control name=\"badge\" sizex=\"8\" sizey=\"6\" target=\"panel\" layoutborderx=\"1\"/>"
        "<control name=\"foot\" sizex=\"4\" sizey=\"4\" target=\"panel\" layoutplacement=\"9\"/></layout></w>");
    window->Arrange();
    EXPECT_EQ(Named(*window, "badge").Rect(), (KLayoutRect{91, 0, 98, 5}));
    EXPECT_EQ(Named(*window, "foot").Rect(), (KLayoutRect{0, 96, 3, 99}));
}

TEST(LayoutStretchability, FollowsTheWeightedControls) {
    auto window = WindowFromXml(
        "<w><layout kind=\"top\"><control layoutratiox=\"1\"/></layout>"
        "<layout kind=\"left\"><control layoutratiox=\"1\"/></layout>"
        "<layout kind=\"vertical\"><control layoutratioy=\"2\"/></layout></w>");
    EXPECT_EQ(window->Layout(0).Stretchability(), 1);
    EXPECT_EQ(window->Layout(1).Stretchability(), 0);
    EXPECT_EQ(window->Layout(2).Stretchability(), 2);
}

TEST(LayoutSizing, MinimalSizeCoversSidesAndClient) {
    // left 30 + spacing 2, client column 40 wide + 2; heights: left column
    // 20 + 2 + 25 = 47, client column 10 + 2 + weighted 15 = 27.
    auto window = WindowFromXml(
        "<w controlspacing=\"2\"><layout kind=\"left\">"
        "<control sizex=\"30\" sizey=\"20\"/><control sizex=\"10\" sizey=\"25\"/></layout>"
        "<layout kind=\"vertical\"><control sizex=\"40\" sizey=\"10\"/>"
        "<control sizex=\"5\" sizey=\"15\" layoutratioy=\"1\"/></layout></w>");
    int width = 0, height = 0;
    window->ComputeMinimalClientSize(width, height);
    EXPECT_EQ(width, 30 + 2 + 40 + 2);
    EXPECT_EQ(height, 47);
}

}  // namespace
