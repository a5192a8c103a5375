#include <gtest/gtest.h>

#include <cmath>

#include "FakeMIDITarget.h"
#include "foundation/core/KException.h"
#include "plugin/midi/KMIDIControllers.h"
#include "plugin/midi/KMIDIEvent.h"

namespace {

struct Controllers : ::testing::Test {
    Controllers() {
        midi.controllersEnabled = true;
        midi.noteControllersEnabled = true;
    }
    // A slot whose target follows the controller position one to one.
    KMIDIControllerSlot& Direct(int slot, int channel, int number, int target) {
        KMIDIControllerSlot& s = midi.Controller(slot);
        s.enabled = true;
        s.channel = channel;
        s.controller = number;
        s.target.Set(target);
        s.rangeMode = int(KRangeMode::FullRange);
        s.value = 0.5;
        s.range = 1.0;
        return s;
    }
    KMIDINoteControllerSlot& Note(int slot, KNoteControllerMode mode, int note, int target, double low, double high) {
        KMIDINoteControllerSlot& s = midi.NoteController(slot);
        s.enabled = true;
        s.mode = int(mode);
        s.note = note;
        s.target.Set(target);
        s.minimum = low;
        s.maximum = high;
        return s;
    }
    FakeMIDITarget target;
    KMIDIControllers midi{target};
};

TEST_F(Controllers, ChannelZeroReactsOnEveryChannelAndANumberedOneOnlyOnItsOwn) {
    Direct(0, 0, 7, 1);
    Direct(1, 3, 7, 2);  // MIDI channel 3 is event channel 2
    for (int channel = 0; channel < 16; ++channel) midi.OnController(channel, 7, channel / 15.0);
    int anyChannel = 0, channelThree = 0;
    for (const auto& set : target.sets) (set.index == 1 ? anyChannel : channelThree) += 1;
    EXPECT_EQ(anyChannel, 16);
    EXPECT_EQ(channelThree, 1);
    EXPECT_DOUBLE_EQ(target.values[2], 2 / 15.0);
    EXPECT_DOUBLE_EQ(target.values[1], 1.0);
}

TEST_F(Controllers, NothingMovesWhileSwitchedOffOrForOtherNumbers) {
    Direct(0, 0, 7, 1);
    midi.OnController(0, 8, 0.7);
    midi.controllersEnabled = false;
    midi.OnController(0, 7, 0.7);
    EXPECT_TRUE(target.sets.empty());
}

TEST_F(Controllers, RangeModeAndInvertShapeTheTarget) {
    KMIDIControllerSlot& slot = Direct(0, 0, 7, 1);
    slot.rangeMode = int(KRangeMode::UpOnly);  // value 0.1, range 0.5: 0.1 .. 0.6
    slot.value = 0.1;
    slot.range = 0.5;
    midi.OnController(0, 7, 1.0);
    EXPECT_DOUBLE_EQ(target.values[1], 0.6);
    slot.invert = true;
    midi.OnController(0, 7, 1.0);
    EXPECT_DOUBLE_EQ(target.values[1], 0.1);
}

TEST_F(Controllers, TargetsThatNoLongerExistAreSkipped) {
    Direct(0, 0, 7, 8);  // the fake has parameters 0..7
    Direct(1, 0, 7, -1);
    midi.OnController(0, 7, 0.5);
    EXPECT_TRUE(target.sets.empty());
}

TEST_F(Controllers, PresetTriggerSwitchesOnCrossingAThirdWithHysteresis) {
    KPresetSwitchTrigger& trigger = midi.PresetTrigger();
    trigger.enabled = true;
    trigger.controller = 64;
    const struct {
        double from, to;
        int step;  // -1 previous, 1 next, 0 nothing
    } moves[] = {{0.5, 0.2, -1}, {0.5, 0.7, 1}, {0.7, 0.8, 0}, {0.2, 0.3, 0}, {0.2, 0.9, 1}};
    for (const auto& move : moves) {
        midi.OnController(0, 64, move.from);
        target.presetSteps.clear();
        midi.OnController(0, 64, move.to);
        if (move.step == 0) EXPECT_TRUE(target.presetSteps.empty()) << move.from << " -> " << move.to;
        else EXPECT_EQ(target.presetSteps, std::vector<int>{move.step}) << move.from << " -> " << move.to;
    }
}

TEST_F(Controllers, VelocityControllersAndTheVelocityTrigger) {
    Direct(0, 0, KMIDIControllerNumber::kVelocityOnAndOff, 1);
    Direct(1, 0, KMIDIControllerNumber::kVelocityOn, 2);
    midi.OnNote(0, 60, 0.8, true, 0);
    midi.OnNote(0, 60, 0.3, false, 0);
    EXPECT_DOUBLE_EQ(target.values[1], 0.3);  // follows note-off too
    EXPECT_DOUBLE_EQ(target.values[2], 0.8);  // note-on only

    midi.PresetTrigger().enabled = true;
    midi.PresetTrigger().controller = KMIDIControllerNumber::kVelocityOn;
    midi.OnNote(0, 60, 0.5, false, 0);
    EXPECT_TRUE(target.presetSteps.empty());
    midi.OnNote(0, 60, 0.5, true, 0);
    EXPECT_EQ(target.presetSteps, std::vector<int>{1});
}

TEST_F(Controllers, OnOffAllOctavesReactsToTheNoteInEveryOctave) {
    Note(0, KNoteControllerMode::OnOffAllOctaves, 60, 3, 0.2, 0.9);
    for (int note : {48, 60, 72}) {
        midi.OnNote(0, note, 1, true, 0);
        EXPECT_DOUBLE_EQ(target.values[3], 0.9) << note;
        midi.OnNote(0, note, 0, false, 0);
        EXPECT_DOUBLE_EQ(target.values[3], 0.2) << note;
    }
    target.sets.clear();
    midi.OnNote(0, 61, 1, true, 0);
    EXPECT_TRUE(target.sets.empty());
}

TEST_F(Controllers, OnOffReactsOnlyToItsOwnNote) {
    Note(0, KNoteControllerMode::OnOff, 60, 3, 0.2, 0.9);
    midi.OnNote(0, 72, 1, true, 0);
    EXPECT_TRUE(target.sets.empty());
    midi.OnNote(0, 60, 1, true, 0);
    EXPECT_DOUBLE_EQ(target.values[3], 0.9);
}

TEST_F(Controllers, SwitchTogglesOnNoteOnAndIgnoresNoteOff) {
    Note(0, KNoteControllerMode::Switch, 60, 4, 0.1, 0.8);
    target.values[4] = 0.3;  // below 0.5: the first press goes to the maximum
    midi.OnNote(0, 60, 1, true, 0);
    EXPECT_DOUBLE_EQ(target.values[4], 0.8);
    midi.OnNote(0, 60, 0, false, 0);
    EXPECT_DOUBLE_EQ(target.values[4], 0.8);
    midi.OnNote(0, 60, 1, true, 0);
    EXPECT_DOUBLE_EQ(target.values[4], 0.1);
    midi.OnNote(0, 72, 1, true, 0);  // another octave: only the all-octaves mode
    EXPECT_DOUBLE_EQ(target.values[4], 0.1);
    midi.NoteController(0).mode = int(KNoteControllerMode::SwitchAllOctaves);
    midi.OnNote(0, 72, 1, true, 0);
    EXPECT_DOUBLE_EQ(target.values[4], 0.8);
}

// Worked by hand with A4 = 440 Hz:
//   note 60: f = 261.6256 Hz; linear (f - 20) / 19980 = 0.0120934;
//            logarithmic (log10 f - log10 20) / 3 = (2.4176805 - 1.3010300) / 3 = 0.3722168
//   note 69: f = 440 Hz;      linear 420 / 19980 = 0.0210210;
//            logarithmic (2.6434527 - 1.3010300) / 3 = 0.4474742
// With minimum 0.2 and maximum 0.6 the target is 0.2 + 0.4 v.
TEST_F(Controllers, PitchModesMapNotesToFrequencyPositions) {
    Note(0, KNoteControllerMode::Linear, 0, 1, 0.2, 0.6);
    Note(1, KNoteControllerMode::Logarithmic, 0, 2, 0.2, 0.6);
    midi.OnNote(0, 60, 1, true, 0);
    EXPECT_NEAR(target.values[1], 0.2 + 0.4 * 0.0120934, 1e-6);
    EXPECT_NEAR(target.values[2], 0.2 + 0.4 * 0.3722168, 1e-6);
    midi.OnNote(0, 69, 1, true, 0);
    EXPECT_NEAR(target.values[1], 0.2 + 0.4 * 0.0210210, 1e-6);
    EXPECT_NEAR(target.values[2], 0.2 + 0.4 * 0.4474742, 1e-6);
    EXPECT_EQ(midi.LastNote(), 69);
    EXPECT_EQ(midi.HeldNotes(), 2);
}

// Notes below 20 Hz give a negative position, which reaches the target as
// it is: note 12 is 261.6256 / 16 = 16.3516 Hz;
//   logarithmic (log10 16.3516 - log10 20) / 3 = (1.2135600 - 1.3010300) / 3 = -0.0291567
//   linear (16.3516 - 20) / 19980 = -0.0001826
// so with minimum 0.2 and maximum 0.6 the targets go just below 0.2.
TEST_F(Controllers, PitchModesBelowTwentyHertzGoBelowTheMinimum) {
    Note(0, KNoteControllerMode::Linear, 0, 1, 0.2, 0.6);
    Note(1, KNoteControllerMode::Logarithmic, 0, 2, 0.2, 0.6);
    midi.OnNote(0, 12, 1, true, 0);
    EXPECT_NEAR(target.values[1], 0.2 - 0.4 * 0.0001826, 1e-6);
    EXPECT_NEAR(target.values[2], 0.2 - 0.4 * 0.0291567, 1e-6);
}

// A full bend up is two semitones: note 60 sounds as note 62,
// f = 261.6256 * 2^(2/12) = 293.6648 Hz, log position (2.4678530 - 1.3010300) / 3 = 0.3889410.
TEST_F(Controllers, HeldNotesFollowThePitchBendUntilReleased) {
    Note(0, KNoteControllerMode::Logarithmic, 0, 2, 0, 1);
    midi.OnNote(0, 60, 1, true, 0);
    midi.OnPitchBend(0, 1.0);
    EXPECT_NEAR(target.values[2], 0.3889410, 1e-6);
    midi.OnNote(0, 60, 0, false, 1.0);
    midi.OnPitchBend(0, 0.0);
    EXPECT_NEAR(target.values[2], 0.3889410, 1e-6);  // nothing held: no glide back

    midi.OnNote(0, 50, 0, false, 0);  // a stray note-off makes the count negative
    EXPECT_EQ(midi.HeldNotes(), -1);
    midi.OnNote(0, 60, 1, true, 0);
    target.sets.clear();
    midi.OnPitchBend(0, 1.0);
    EXPECT_TRUE(target.sets.empty());
}

// The note a bend re-evaluates is the last one a pitch-following controller
// took: a note on another channel, which that controller ignores, does not
// replace it (60 bent by +2 semitones, as worked out above: 0.3889410).
TEST_F(Controllers, TheBentNoteIsTheLastOneAPitchControllerTook) {
    Note(0, KNoteControllerMode::Logarithmic, 0, 2, 0, 1).channel = 1;
    Note(1, KNoteControllerMode::OnOff, 72, 3, 0, 1).channel = 2;
    midi.OnNote(0, 60, 1, true, 0);
    midi.OnNote(1, 72, 1, true, 0);  // only the on/off controller hears it
    EXPECT_DOUBLE_EQ(target.values[3], 1.0);
    midi.OnPitchBend(0, 1.0);
    EXPECT_NEAR(target.values[2], 0.3889410, 1e-6);
    EXPECT_EQ(midi.LastNote(), 60);
}

TEST_F(Controllers, TheThirtyThirdControllerIsRefused) {
    for (int i = 0; i < KMIDIControllers::kSlotCount; ++i) EXPECT_EQ(midi.AddController(0, i, 1), i);
    try {
        midi.AddController(0, 40, 1);
        FAIL() << "no exception";
    } catch (const KException& error) {
        EXPECT_EQ(error.Message().ToUTF8(), "Sorry, all controllers are already in use.");
    }
    midi.Controller(7).enabled = false;
    EXPECT_EQ(midi.AddController(2, 40, 3), 7);
    EXPECT_EQ(midi.Controller(7).controller.load(), 40);
}

TEST_F(Controllers, EditorHearsEveryControllerAndNote) {
    midi.OnController(4, 10, 0.5);
    midi.OnNote(1, 61, 1, true, 0);
    KMIDINotificationQueue::Notification n;
    std::vector<std::pair<int, int>> heard;
    while (midi.Notifications().Pop(n)) heard.emplace_back(n.channel, n.number);
    const std::vector<std::pair<int, int>> expected = {{5, 10}, {2, KMIDIControllerNumber::kVelocityOn}, {2, 61}};
    EXPECT_EQ(heard, expected);
}

}  // namespace
