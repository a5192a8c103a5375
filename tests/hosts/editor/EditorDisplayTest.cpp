// What the editor shows: every control inside the window at any size, and
// changes made elsewhere (by the host, by the waveform's shape) in the
// next picture.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"

namespace EditorTest {
namespace {

struct EditorDisplay : testing::Test, EditorFixture {};

void ExpectEveryControlInside(const KHalvaneEditor& editor) {
    const KRect window{0, 0, double(editor.Width()), double(editor.Height())};
    for (const KString& name : editor.ControlNames()) {
        const KRect bounds = *editor.ControlBounds(name);
        SCOPED_TRACE(name.ToUTF8());
        EXPECT_GT(bounds.width, 0);
        EXPECT_GT(bounds.height, 0);
        EXPECT_GE(bounds.x, window.x);
        EXPECT_GE(bounds.y, window.y);
        EXPECT_LE(bounds.x + bounds.width, window.width);
        EXPECT_LE(bounds.y + bounds.height, window.height);
    }
}

TEST_F(EditorDisplay, EveryControlIsLaidOutInsideTheWindowAtAnySize) {
    // Both panels, both waveforms, the eight slots, the preset browser and
    // the processing settings are there.
    for (const char* name : {"enable0", "depth0", "frequency0", "phase0", "shape0", "waveform0", "enable1", "depth1",
                             "frequency1", "phase1", "shape1", "waveform1", "modulate", "bypass", "channelmode",
                             "upsampling", "highquality", "gaincompensation", "slot0", "slot7", "morphpad",
                             "presetlist", "presetprevious", "presetnext", "presetload", "presetsave", "presetsaveas"})
        EXPECT_TRUE(editor->ControlBounds(KString::FromUTF8(name))) << name;

    ExpectEveryControlInside(*editor);
    editor->SetSize(1600, 1000);
    ExpectEveryControlInside(*editor);
    // Smaller than the minimum is held at the minimum.
    editor->SetSize(100, 100);
    EXPECT_EQ(editor->Width(), editor->MinimalWidth());
    EXPECT_EQ(editor->Height(), editor->MinimalHeight());
    ExpectEveryControlInside(*editor);
}

TEST_F(EditorDisplay, AHostSideChangeShowsInTheNextPicture) {
    const int frequency = Index("frequency0");
    editor->Refresh();
    const auto before = Picture();
    EXPECT_FALSE(editor->Refresh());

    plugin->SetParameter(frequency, 0.9);
    EXPECT_TRUE(editor->Refresh());
    const auto after = Picture();
    EXPECT_TRUE(Differs(before, after, Bounds("frequency0")));
    EXPECT_FALSE(Differs(before, after, Bounds("frequency1")));
    // The editor sends nothing back for a change the host made.
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(EditorDisplay, TheWaveformFollowsTheGeneratorsTable) {
    const int shape = Index("Oscillator 1 shape Shape");
    ASSERT_GE(shape, 0);
    editor->Refresh();
    const auto before = Picture();
    plugin->SetParameter(shape, 1.0);
    // The table is rebuilt by the processing; one block brings it up to date.
    std::vector<float> left(256, 0.0f), right(256, 0.0f);
    float* channels[] = {left.data(), right.data()};
    plugin->ProcessBlock(channels, channels, 256, true);
    EXPECT_TRUE(editor->Refresh());
    const auto after = Picture();
    EXPECT_TRUE(Differs(before, after, Bounds("waveform0")));
    EXPECT_FALSE(Differs(before, after, Bounds("waveform1")));
}

}  // namespace
}  // namespace EditorTest
