#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "MIDIPluginSupport.h"

namespace {

// Records what ProcessMIDIMessage decodes.
class DecodingPlugin final : public KAudioPlugin {
public:
    struct Call {
        char kind;  // 'n' note, 'c' controller, 'a' aftertouch, 'b' bend
        int channel, number;
        double value;
        bool on;
        bool operator==(const Call&) const = default;
    };
    void InitProcessing() override {}
    void Process(float**, float**, int) override {}
    void ProcessNote(int channel, int note, double velocity, bool on) override {
        calls.push_back({'n', channel, note, velocity, on});
    }
    void ProcessMIDIController(int channel, int number, double value) override {
        calls.push_back({'c', channel, number, value, false});
    }
    void ProcessAftertouch(int channel, double value) override { calls.push_back({'a', channel, 128, value, false}); }
    void ProcessPitchBend(int channel, double bend) override { calls.push_back({'b', channel, 129, bend, false}); }

    Call Decode(std::uint8_t status, std::uint8_t first, std::uint8_t second) {
        calls.clear();
        const std::uint8_t bytes[4] = {status, first, second, 0};
        ProcessMIDIMessage(0, bytes);
        return calls.size() == 1 ? calls[0] : Call{'-', 0, 0, 0, false};
    }
    std::vector<Call> calls;
};

TEST(MIDIMessage, StatusBytesDecodeToEventsWithZeroBasedChannels) {
    DecodingPlugin p;
    using Call = DecodingPlugin::Call;
    EXPECT_EQ(p.Decode(0x93, 60, 127), (Call{'n', 3, 60, 1.0, true}));
    EXPECT_EQ(p.Decode(0x90, 60, 0), (Call{'n', 0, 60, 0.0, false}));  // velocity 0: note off
    EXPECT_EQ(p.Decode(0x8F, 61, 64), (Call{'n', 15, 61, 64 / 127.0, false}));
    EXPECT_EQ(p.Decode(0xB2, 7, 127), (Call{'c', 2, 7, 1.0, false}));
    EXPECT_EQ(p.Decode(0xD1, 127, 0), (Call{'a', 1, 128, 1.0, false}));
    EXPECT_EQ(p.Decode(0xB0, 0x87, 0xFF), (Call{'c', 0, 7, 1.0, false}));  // data bytes are 7 bits
}

// 14 bits, low byte first: 0x2000 is the centre, 0 and 0x3FFF the extremes.
TEST(MIDIMessage, PitchBendIsFourteenBitsAroundTheCentre) {
    DecodingPlugin p;
    EXPECT_DOUBLE_EQ(p.Decode(0xE0, 0x00, 0x40).value, 0.0);
    EXPECT_DOUBLE_EQ(p.Decode(0xE0, 0x00, 0x00).value, -1.0);
    EXPECT_DOUBLE_EQ(p.Decode(0xE0, 0x7F, 0x7F).value, 1.0);
    EXPECT_DOUBLE_EQ(p.Decode(0xE5, 0x00, 0x20).value, -0.5);  // 0x1000 - 0x2000 = -4096
    EXPECT_EQ(p.Decode(0xE5, 0x00, 0x20).channel, 5);
}

TEST(MIDIMessage, OtherMessagesAreIgnored) {
    DecodingPlugin p;
    for (std::uint8_t status : {0x40, 0xA0, 0xC0, 0xF0, 0xF8, 0xFF}) EXPECT_EQ(p.Decode(status, 1, 2).kind, '-');
    p.ProcessMIDIMessage(0, nullptr);
    EXPECT_TRUE(p.calls.empty());
}

TEST(MIDIMessage, ReceiversHearEventsOnTheirChannelsWhileEnabled) {
    struct Receiver final : KMIDIReceiver {
        void ReceiveMIDI(const KMIDIEvent& event) override { numbers.push_back(event.number); }
        std::vector<int> numbers;
    } receiver;
    MIDIPlugin m;
    std::atomic<bool> enabled{true};
    receiver.SetEnabledFlag(&enabled);
    receiver.SetChannelMask(1u << 2);
    ASSERT_TRUE(m.plugin.AddMIDIReceiver(&receiver));
    m.plugin.ProcessMIDIController(2, 10, 0.5);
    m.plugin.ProcessMIDIController(3, 11, 0.5);
    enabled = false;
    m.plugin.ProcessMIDIController(2, 12, 0.5);
    m.plugin.RemoveMIDIReceiver(&receiver);
    enabled = true;
    m.plugin.ProcessMIDIController(2, 13, 0.5);
    EXPECT_EQ(receiver.numbers, std::vector<int>{10});
}

TEST(MIDIMessage, RawBytesDriveAControllerSlotThroughThePlugin) {
    MIDIPlugin m;
    KMIDIControllers& midi = m.plugin.MIDIControllers();
    KMIDIControllerSlot& slot = midi.Controller(midi.AddController(0, 74, 1));
    slot.rangeMode = int(KRangeMode::Interval);  // 0.2 .. 0.8
    slot.value = 0.2;
    slot.maxValue = 0.8;
    midi.controllersEnabled = true;
    const std::uint8_t message[4] = {0xB9, 74, 127, 0};
    m.plugin.ProcessMIDIMessage(0, message);
    EXPECT_DOUBLE_EQ(m.plugin.GetParameter(1), 0.8);
    EXPECT_DOUBLE_EQ(m.plugin.GetParameter(0), 0.5);
}

// Controller values and bends from a host (VST 3 carries them as parameter
// values) that are no number are dropped, and values beyond the ends count
// as the ends.
TEST(MIDIMessage, BadControllerValuesAndBendsAreDroppedOrHeldToTheirEnds) {
    MIDIPlugin m;
    KMIDIControllers& midi = m.plugin.MIDIControllers();
    midi.controllersEnabled = true;
    midi.noteControllersEnabled = true;
    // Up and down around 0.5 with range 0.2: h = min(0.1, 0.5, 0.5), so 0.4 .. 0.6.
    KMIDIControllerSlot& slot = midi.Controller(midi.AddController(0, 7, 0));
    slot.rangeMode = int(KRangeMode::UpAndDown);
    slot.value = 0.5;
    slot.range = 0.2;
    m.plugin.ProcessMIDIController(0, 7, 1.5);
    EXPECT_DOUBLE_EQ(m.plugin.GetParameter(0), 0.6);
    m.plugin.ProcessAftertouch(0, -3);  // no slot: only the state
    EXPECT_DOUBLE_EQ(m.plugin.channelPressure, 0.0);

    // A logarithmic note controller on "tone": note 69 (440 Hz) is at
    // (log10 440 - log10 20) / 3 = 0.4474742 when nothing bends it.
    KMIDINoteControllerSlot& note = midi.NoteController(0);
    note.enabled = true;
    note.mode = int(KNoteControllerMode::Logarithmic);
    note.target.Set(1);
    m.plugin.ProcessPitchBend(0, std::nan(""));
    EXPECT_DOUBLE_EQ(m.plugin.pitchBend, 0.0);
    m.plugin.ProcessNote(0, 69, 1, true);
    EXPECT_NEAR(m.plugin.GetParameter(1), 0.4474742, 1e-6);
}

}  // namespace
