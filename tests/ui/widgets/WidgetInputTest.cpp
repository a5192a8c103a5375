// Pointer input on the widgets over a value that records what it is told:
// the arithmetic of drags, wheel steps and clicks, and gesture pairing.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <limits>
#include <vector>

#include "ui/editor/KSettingSource.h"
#include "ui/widgets/KKnob.h"
#include "ui/widgets/KListView.h"
#include "ui/widgets/KPainter.h"
#include "ui/widgets/KSlider.h"
#include "ui/widgets/KToggle.h"
#include "ui/widgets/KXYPad.h"

namespace {

using Kind = KPointerEvent::Kind;

struct RecordingValue : KValueSource {
    double value = 0.5;
    int steps = 0;
    int begins = 0, ends = 0;
    std::vector<double> sets;

    KString Name() override { return KString::FromUTF8("Value"); }
    double Value() override { return value; }
    KString Text() override { return KString::FromUTF8(std::to_string(value)); }
    double Default() override { return 0.25; }
    int Steps() override { return steps; }
    void Begin() override { ++begins; }
    void Set(double v) override {
        value = v;
        sets.push_back(v);
    }
    void End() override { ++ends; }
    bool SetText(const KString&) override { return false; }
};

// A 200 x 40 control at the window's origin.
struct Place {
    KLayoutControl window;
    KLayoutControl& control = window.AddChild(std::make_unique<KLayoutControl>(KString::FromUTF8("c")));
    Place() {
        window.Resize(400, 300);
        control.SetSize(KAxis::Horizontal, 200);
        control.SetSize(KAxis::Vertical, 40);
    }
};

KPointerEvent At(Kind kind, int x, int y, int button = KPointerEvent::kLeftButton, int wheel = 0) {
    KPointerEvent event;
    event.kind = kind;
    event.x = x;
    event.y = y;
    event.button = button;
    event.wheel = wheel;
    return event;
}

TEST(WidgetInput, ASliderFollowsHorizontalDragsAndPairsTheGesture) {
    Place place;
    auto source = std::make_unique<RecordingValue>();
    RecordingValue& value = *source;
    KSlider slider(place.control, std::move(source));
    slider.Press(At(Kind::Press, 50, 20));
    slider.Drag(At(Kind::Move, 80, 0));  // rightwards 30 px of 200: +0.15
    slider.Drag(At(Kind::Move, 80, 35));  // vertical motion does nothing
    slider.Release(At(Kind::Release, 80, 35));
    EXPECT_NEAR(value.value, 0.65, 1e-9);
    EXPECT_EQ(value.sets.size(), 1u);
    EXPECT_EQ(value.begins, 1);
    EXPECT_EQ(value.ends, 1);

    // Other buttons start no gesture.
    slider.Press(At(Kind::Press, 50, 20, KPointerEvent::kRightButton));
    slider.Release(At(Kind::Release, 50, 20, KPointerEvent::kRightButton));
    EXPECT_EQ(value.begins, 1);
    EXPECT_EQ(value.ends, 1);
}

TEST(WidgetInput, TheWheelStepsListsByOneEntryAndStopsAtTheEnds) {
    Place place;
    auto source = std::make_unique<RecordingValue>();
    RecordingValue& value = *source;
    value.steps = 5;  // entries at 0, 0.25, 0.5, 0.75, 1
    value.value = 0.5;
    KSlider slider(place.control, std::move(source));
    slider.Wheel(At(Kind::Wheel, 10, 10, 0, 1));
    EXPECT_DOUBLE_EQ(value.value, 0.75);
    slider.Wheel(At(Kind::Wheel, 10, 10, 0, 3));
    EXPECT_DOUBLE_EQ(value.value, 1.0);
    EXPECT_EQ(value.begins, value.ends);
}

TEST(WidgetInput, AToggleSwitchesOnEachClick) {
    Place place;
    auto source = std::make_unique<RecordingValue>();
    RecordingValue& value = *source;
    value.value = 0;
    KToggle toggle(place.control, std::move(source));
    toggle.Press(At(Kind::Press, 5, 5));
    EXPECT_EQ(value.value, 1.0);
    EXPECT_TRUE(toggle.Refresh());
    EXPECT_FALSE(toggle.Refresh());
    toggle.Press(At(Kind::Press, 5, 5));
    EXPECT_EQ(value.value, 0.0);
}

TEST(WidgetInput, TheXYPadMapsItsSquareInsideTheMarginAndClampsOutside) {
    Place place;  // 200 x 40: the pad is the centred 40 x 40 square, x 80..120
    double x = -1, y = -1;
    KXYPad::Binding binding{[&] { return x; }, [&] { return y; }, [&](double nx, double ny) { x = nx, y = ny; },
                            nullptr, nullptr};
    KXYPad pad(place.control, std::move(binding), {});
    // The point's area is the square less 12 px on each side: 92..108.
    pad.Press(At(Kind::Press, 100, 20));
    EXPECT_DOUBLE_EQ(x, 0.5);
    EXPECT_DOUBLE_EQ(y, 0.5);
    pad.Drag(At(Kind::Move, 96, 0));
    EXPECT_DOUBLE_EQ(x, 0.25);  // (96 - 92) / 16
    EXPECT_DOUBLE_EQ(y, 0.0);
    pad.Drag(At(Kind::Move, 500, 500));
    EXPECT_DOUBLE_EQ(x, 1.0);
    EXPECT_DOUBLE_EQ(y, 1.0);
}

TEST(WidgetInput, AListSelectsOnAClickAndActivatesOnADoubleClick) {
    Place place;  // 40 px high: two 18 px lines below a 2 px margin
    std::vector<KString> lines{KString::FromUTF8("one"), KString::FromUTF8("two"), KString::FromUTF8("three")};
    int activated = -1;
    KListView list(place.control, {[&] { return lines; }, [] { return -1; }, [&](int line) { activated = line; }});
    list.Press(At(Kind::Press, 10, 2 + 18 + 5));
    EXPECT_EQ(list.Selected(), 1);
    EXPECT_EQ(activated, -1);
    // Scrolled down by one line, the same spot is the third line.
    list.Wheel(At(Kind::Wheel, 10, 10, 0, -1));
    KPointerEvent twice = At(Kind::Press, 10, 2 + 18 + 5);
    twice.clicks = 2;
    list.Press(twice);
    EXPECT_EQ(activated, 2);
    // Below the last line nothing is hit.
    list.Press(At(Kind::Press, 10, 39));
    EXPECT_EQ(list.Selected(), 2);
}

TEST(WidgetInput, SettingsRoundToTheNearestChoiceAndReadTheirNames) {
    int current = 0;
    KSettingSource setting(KString::FromUTF8("Upsampling"),
                           {KString::FromUTF8("Off"), KString::FromUTF8("2x"), KString::FromUTF8("4x"),
                            KString::FromUTF8("8x")},
                           0, [&] { return current; }, [&](int choice) { current = choice; });
    // Choices sit at 0, 1/3, 2/3, 1: 0.6 is nearest to 2/3.
    setting.Set(0.6);
    EXPECT_EQ(current, 2);
    EXPECT_DOUBLE_EQ(setting.Value(), 2.0 / 3);
    EXPECT_TRUE(setting.SetText(KString::FromUTF8("8X")));
    EXPECT_EQ(current, 3);
    EXPECT_FALSE(setting.SetText(KString::FromUTF8("16x")));
    EXPECT_EQ(current, 3);
    EXPECT_EQ(setting.Text(), KString::FromUTF8("8x"));
}


// Hosts and damaged settings can hand a control a value that is not a
// number or lies outside 0..1: it is drawn as the nearest end (0 for not a
// number), without cairo's arc asserting on an angle it cannot take, and a
// value that stays so asks for no new picture.
TEST(WidgetDrawing, ValuesOutsideTheRangeAreDrawnAtTheNearestEnd) {
    // The same text for every value: only the arc may differ.
    struct SameText : RecordingValue {
        KString Text() override { return KString::FromUTF8("v"); }
    };
    Place place;
    auto source = std::make_unique<SameText>();
    RecordingValue& value = *source;
    KKnob knob(place.control, std::move(source));
    auto picture = [&](double shown) {
        value.value = shown;
        knob.Refresh();
        EXPECT_FALSE(knob.Refresh());
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 400, 300);
        cairo_t* cairo = cairo_create(surface);
        KPainter painter(cairo);
        knob.Paint(painter);
        EXPECT_EQ(cairo_status(cairo), CAIRO_STATUS_SUCCESS);
        cairo_destroy(cairo);
        cairo_surface_flush(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        std::vector<unsigned char> pixels(data, data + cairo_image_surface_get_stride(surface) * 300);
        cairo_surface_destroy(surface);
        return pixels;
    };
    const auto atZero = picture(0.0), atOne = picture(1.0);
    EXPECT_NE(atZero, atOne);
    EXPECT_EQ(picture(-0.5), atZero);
    EXPECT_EQ(picture(1.5), atOne);
    EXPECT_EQ(picture(std::nan("")), atZero);
    EXPECT_EQ(picture(-std::numeric_limits<double>::infinity()), atZero);
}

}  // namespace
