// The editor over a real plug-in: what pointer and keys do to parameters
// and settings, and what the host hears of it.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "plugin/pipeline/KChannelModes.h"
#include "ui/editor/KEditorPresets.h"

namespace EditorTest {
namespace {

using Kind = KPointerEvent::Kind;
using Call = RecordingHost::Call;

struct EditorControls : testing::Test, EditorFixture {
    int frequency = Index("frequency0");
    double Value(int index) { return plugin->GetParameter(index); }
};

TEST_F(EditorControls, DraggingAKnobMovesItsParameterAndTheHostRecordsOneGesture) {
    const double before = Value(frequency);
    DragBy(Bounds("frequency0"), -40);
    // 40 pixels of the 200 that span the whole range.
    EXPECT_NEAR(Value(frequency), before + 40.0 / 200, 1e-3);

    ASSERT_GE(host.calls.size(), 3u);
    EXPECT_EQ(host.calls.front().kind, Call::Begin);
    EXPECT_EQ(host.calls.back().kind, Call::End);
    const Call& automation = host.calls[host.calls.size() - 2];
    EXPECT_EQ(automation.kind, Call::Automate);
    EXPECT_EQ(automation.index, frequency);
    EXPECT_DOUBLE_EQ(automation.value, Value(frequency));
    for (const Call& call : host.calls) EXPECT_EQ(call.index, frequency);
}

TEST_F(EditorControls, ShiftMakesADragTenTimesFinerWithoutAJump) {
    const double before = Value(frequency);
    const KRect knob = Bounds("frequency0");
    Pointer(Kind::Press, knob.CenterX(), knob.CenterY());
    Pointer(Kind::Move, knob.CenterX(), knob.CenterY() - 20);  // +20/200 = +0.1
    Pointer(Kind::Move, knob.CenterX(), knob.CenterY() - 20, 0, true);  // Shift pressed: no change
    EXPECT_NEAR(Value(frequency), before + 0.1, 1e-3);
    Pointer(Kind::Move, knob.CenterX(), knob.CenterY() - 40, 0, true);  // +20/2000 = +0.01
    Pointer(Kind::Release, knob.CenterX(), knob.CenterY() - 40, KPointerEvent::kLeftButton, true);
    EXPECT_NEAR(Value(frequency), before + 0.11, 1e-3);
}

TEST_F(EditorControls, DragsStopAtTheEndsOfTheRange) {
    DragBy(Bounds("frequency0"), -5000);
    EXPECT_DOUBLE_EQ(Value(frequency), 1.0);
    DragBy(Bounds("frequency0"), 5000);
    EXPECT_DOUBLE_EQ(Value(frequency), 0.0);
}

TEST_F(EditorControls, WheelNudgesAndDoubleClickRestoresTheDefault) {
    const double before = Value(frequency);
    const KRect knob = Bounds("frequency0");
    KPointerEvent wheel;
    wheel.kind = Kind::Wheel;
    wheel.x = int(knob.CenterX());
    wheel.y = int(knob.CenterY());
    wheel.wheel = 3;
    editor->OnPointer(wheel);
    EXPECT_NEAR(Value(frequency), before + 3 * 0.01, 1e-3);

    Pointer(Kind::Press, knob.CenterX(), knob.CenterY(), KPointerEvent::kLeftButton, false, 2);
    Pointer(Kind::Release, knob.CenterX(), knob.CenterY());
    EXPECT_DOUBLE_EQ(Value(frequency), plugin->GetParameterDefaultValue(frequency));
}

TEST_F(EditorControls, TypedTextGoesThroughTheParametersParser) {
    const KRect knob = Bounds("frequency0");
    Pointer(Kind::Press, knob.CenterX(), knob.CenterY(), KPointerEvent::kRightButton);
    ASSERT_TRUE(editor->IsEnteringText());
    Type("440");
    EXPECT_TRUE(editor->Key(KKeyEvent{KKeyEvent::kReturn, 0}));
    EXPECT_FALSE(editor->IsEnteringText());
    EXPECT_DOUBLE_EQ(Value(frequency), plugin->ParseParameterValueName(frequency, KString::FromUTF8("440 Hz")));
    EXPECT_NE(Value(frequency), plugin->GetParameterDefaultValue(frequency));
    EXPECT_EQ(host.calls.back().kind, Call::End);
}

TEST_F(EditorControls, EscapeLeavesTheValueAndKeysAreNotTakenWithoutAnEntry) {
    const double before = Value(frequency);
    EXPECT_FALSE(editor->Key(KKeyEvent{0, U'4'}));
    const KRect knob = Bounds("frequency0");
    Pointer(Kind::Press, knob.CenterX(), knob.CenterY(), KPointerEvent::kRightButton);
    Type("1000");
    editor->Key(KKeyEvent{KKeyEvent::kEscape, 0});
    EXPECT_FALSE(editor->IsEnteringText());
    EXPECT_EQ(Value(frequency), before);
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(EditorControls, TogglesAndChoicesStepThroughTheirValues) {
    const int enable1 = Index("enable1");
    const double wasEnabled = Value(enable1);
    const KRect toggle = Bounds("enable1");
    Pointer(Kind::Press, toggle.CenterX(), toggle.CenterY());
    Pointer(Kind::Release, toggle.CenterX(), toggle.CenterY());
    EXPECT_EQ(Value(enable1), 1.0 - wasEnabled);

    // The right half steps forward, the left half back, wrapping around.
    const KRect channels = Bounds("channelmode");
    Pointer(Kind::Press, channels.x + channels.width - 5, channels.CenterY());
    EXPECT_EQ(plugin->PipelineSettings().channelMode, 1);
    Pointer(Kind::Press, channels.x + 5, channels.CenterY());
    Pointer(Kind::Press, channels.x + 5, channels.CenterY());
    EXPECT_EQ(plugin->PipelineSettings().channelMode, KChannelModes::kCount - 1);

    const KRect bypass = Bounds("bypass");
    Pointer(Kind::Press, bypass.CenterX(), bypass.CenterY());
    EXPECT_TRUE(plugin->Bypass());
}

TEST_F(EditorControls, SlotsKeepTheSettingsOfEachSlot) {
    const double original = Value(frequency);
    auto click = [&](const char* control) {
        const KRect button = Bounds(control);
        Pointer(Kind::Press, button.CenterX(), button.CenterY());
        Pointer(Kind::Release, button.CenterX(), button.CenterY());
    };
    click("slot1");  // B starts from the current settings
    EXPECT_EQ(Value(frequency), original);
    DragBy(Bounds("frequency0"), -50);
    const double inB = Value(frequency);
    click("slot0");
    EXPECT_EQ(Value(frequency), original);
    click("slot1");
    EXPECT_EQ(Value(frequency), inB);

    // Halfway between A (original) and B (inB) along the top edge.
    click("slot0");
    host.calls.clear();
    const KRect pad = Bounds("morphpad");
    const double side = std::min(pad.width, pad.height);
    Pointer(Kind::Press, pad.CenterX(), pad.CenterY() - side / 2 + 12);
    Pointer(Kind::Release, pad.CenterX(), pad.CenterY() - side / 2 + 12);
    EXPECT_NEAR(Value(frequency), (original + inB) / 2, 0.01);
    // Only the parameter that differs between the corners is edited.
    for (const Call& call : host.calls) EXPECT_EQ(call.index, frequency);
    EXPECT_EQ(host.calls.front().kind, Call::Begin);
    EXPECT_EQ(host.calls.back().kind, Call::End);
}

TEST_F(EditorControls, SaveAsAddsANamedPresetThatBecomesTheCurrentOne) {
    const KRect saveAs = Bounds("presetsaveas");
    Pointer(Kind::Press, saveAs.CenterX(), saveAs.CenterY());
    ASSERT_TRUE(editor->IsEnteringText());
    // An empty name is not taken: the entry stays open.
    editor->Key(KKeyEvent{KKeyEvent::kBackspace, 0});
    editor->Key(KKeyEvent{KKeyEvent::kReturn, 0});
    EXPECT_TRUE(editor->IsEnteringText());
    Type("Bright bells");
    editor->Key(KKeyEvent{KKeyEvent::kReturn, 0});
    EXPECT_FALSE(editor->IsEnteringText());

    // The library on disk has it, as another editor reads it.
    KEditorModel model(*plugin);
    KEditorPresets library(model);
    const auto& lines = library.Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), KString::FromUTF8("Bright bells")), lines.end());
}

}  // namespace
}  // namespace EditorTest
