// The bridge in this process, over a plug-in that records the MIDI it is
// handed: what arrives at the plug-in, and what leaves it for the host.
#include <gtest/gtest.h>

#include <iomanip>
#include <ostream>
#include <vector>

#include "effect/HalvaneAudioEffectPluginInterface.h"
#include "hosts/vst3/KAudioPluginVST3Adapter.h"
#include "hosts/vst3/Vst3HostObjects.h"
#include "plugin/core/KQuenlorAudioEffectPlugin.h"

using namespace vst3test;

namespace {

struct Message {
    int deltaFrames;
    std::uint8_t status, first, second;
    friend bool operator==(const Message&, const Message&) = default;
};

// A call of one of the plug-in's MIDI entries: 'n' note, 'c' controller,
// 'b' pitch bend.
struct Entry {
    char kind;
    int channel, number;
    double value;
    bool on;
    friend bool operator==(const Entry&, const Entry&) = default;
    friend void PrintTo(const Entry& e, std::ostream* out) {
        *out << e.kind << '(' << e.channel << ", " << e.number << ", " << std::setprecision(17) << e.value << ", "
             << e.on << ')';
    }
};

// Raw MIDI is recorded as it came and then read by the plug-in as usual,
// so every entry call, whichever way it arrived, is recorded too.
class RecordingPlugin final : public KQuenlorAudioEffectPlugin {
public:
    void ProcessMIDIMessage(int deltaFrames, const std::uint8_t* bytes) override {
        received.push_back({deltaFrames, bytes[0], bytes[1], bytes[2]});
        KQuenlorAudioEffectPlugin::ProcessMIDIMessage(deltaFrames, bytes);
    }
    void ProcessNote(int channel, int note, double velocity, bool on) override {
        entries.push_back({'n', channel, note, velocity, on});
    }
    void ProcessPitchBend(int channel, double bend) override { entries.push_back({'b', channel, 0, bend, false}); }
    void ProcessMIDIController(int channel, int number, double value) override {
        entries.push_back({'c', channel, number, value, false});
    }
    std::vector<Message> received;
    std::vector<Entry> entries;
};

class Vst3Adapter : public ::testing::Test {
protected:
    void SetUp() override {
        auto plugin = std::make_unique<RecordingPlugin>();
        plugin->Initialize("Halvane", "Quenlor", &HalvaneAudioEffectPluginInterface);
        recorder = plugin.get();
        adapter = new KAudioPluginVST3Adapter(std::make_unique<KHostedPlugin>(std::move(plugin)));
        adapter->initialize(&host);
        adapter->setComponentHandler(&handler);
    }
    void TearDown() override {
        adapter->terminate();
        adapter->release();
    }
    vst3::tresult Process(ParameterChanges* changes, EventList* in = nullptr, EventList* out = nullptr,
                          vst3::ProcessContext* context = nullptr) {
        std::vector<float> buffer(64, 0.25f);
        float* channels[2] = {buffer.data(), buffer.data()};
        std::vector<float> result[2] = {std::vector<float>(64), std::vector<float>(64)};
        float* outputs[2] = {result[0].data(), result[1].data()};
        vst3::AudioBusBuffers input{}, output{};
        input.numChannels = output.numChannels = 2;
        input.channelBuffers32 = channels;
        output.channelBuffers32 = outputs;
        vst3::ProcessData data{};
        data.numSamples = 64;
        data.numInputs = data.numOutputs = 1;
        data.inputs = &input;
        data.outputs = &output;
        data.inputParameterChanges = changes;
        data.inputEvents = in;
        data.outputEvents = out;
        data.processContext = context;
        return static_cast<vst3::IAudioProcessor*>(adapter)->process(data);
    }

    HostApplication host;
    ComponentHandler handler;
    RecordingPlugin* recorder = nullptr;
    KAudioPluginVST3Adapter* adapter = nullptr;
};

// The bend is value * 2 - 1: 0.25 is -0.5 and 0.75 is +0.5, exactly.
TEST_F(Vst3Adapter, PitchBendParameterReachesTheBendEntryAsValueTimesTwoMinusOne) {
    ParameterChanges changes;
    changes.Add(10129, {{0, 0.25}});
    Process(&changes);
    ParameterChanges up;
    up.Add(10129, {{0, 0.75}});
    Process(&up);
    EXPECT_EQ(recorder->entries, (std::vector<Entry>{{'b', 0, 0, -0.5, false}, {'b', 0, 0, 0.5, false}}));
}

// Controller n takes the queue's last value as it is, on channel 0: a host
// lane drawn between MIDI's 127 steps (0.3 lies between 38/127 and 39/127)
// is not rounded to them. 10128 is a controller like the others. (Values
// outside 0..1 are the controller entry's to hold; its own tests show it.)
TEST_F(Vst3Adapter, ControllerParametersReachTheControllerEntryUnrounded) {
    ParameterChanges changes;
    changes.Add(10007, {{0, 0.2}, {10, 1.0}});
    changes.Add(10000, {{0, 0.0}});
    changes.Add(10020, {{0, 0.3}});
    changes.Add(10128, {{0, 0.6}});
    Process(&changes);
    EXPECT_EQ(recorder->entries, (std::vector<Entry>{{'c', 0, 7, 1.0, false},
                                                     {'c', 0, 0, 0.0, false},
                                                     {'c', 0, 20, 0.3, false},
                                                     {'c', 0, 128, 0.6, false}}));
    EXPECT_TRUE(recorder->received.empty());
}

// Velocities stay as the host gave them, and a note-on of velocity 0 is
// still a note-on.
TEST_F(Vst3Adapter, NoteEventsReachTheNoteEntryWithTheirVelocity) {
    EventList in;
    vst3::Event on{};
    on.sampleOffset = 5;
    on.type = vst3::kNoteOnEvent;
    on.noteOn = {3, 60, 0.0f, 0.3f, 0, -1};
    vst3::Event off{};
    off.sampleOffset = 9;
    off.type = vst3::kNoteOffEvent;
    off.noteOff = {3, 60, 0.25f, -1, 0.0f};
    vst3::Event silent{};
    silent.type = vst3::kNoteOnEvent;
    silent.noteOn = {0, 61, 0.0f, 0.0f, 0, -1};
    in.events = {on, off, silent};
    Process(nullptr, &in);
    EXPECT_EQ(recorder->entries, (std::vector<Entry>{{'n', 3, 60, double(0.3f), true},
                                                     {'n', 3, 60, 0.25, false},
                                                     {'n', 0, 61, 0.0, true}}));
}

// Raw MIDI arrives as the host sent it; note expressions are not MIDI.
TEST_F(Vst3Adapter, DataEventsReachThePluginAsTheyCame) {
    const std::uint8_t bytes[3] = {0xB2, 74, 100};
    EventList in;
    vst3::Event data{};
    data.sampleOffset = 12;
    data.type = vst3::kDataEvent;
    data.data = {3, 0, bytes};
    vst3::Event expression{};
    expression.type = 4;
    in.events = {data, expression};
    Process(nullptr, &in);
    EXPECT_EQ(recorder->received, (std::vector<Message>{{12, 0xB2, 74, 100}}));
}

TEST_F(Vst3Adapter, ProcessContextReachesThePluginTransport) {
    vst3::ProcessContext context{};
    context.state = vst3::kPlaying | vst3::kProjectTimeMusicValid | vst3::kTempoValid;
    context.projectTimeMusic = 1.5;
    context.tempo = 140;
    Process(nullptr, nullptr, nullptr, &context);
    const KTransportInfo& transport = recorder->Transport();
    EXPECT_EQ(transport.songPosition, 1.5);
    EXPECT_EQ(transport.tempo, 140);
    EXPECT_TRUE(transport.playing);
}

TEST_F(Vst3Adapter, GeneratedMIDIGoesOutWithTheNextBlock) {
    const std::uint8_t noteOn[4] = {0x91, 64, 127, 0};
    const std::uint8_t noteOff[4] = {0x80, 64, 0, 0};
    const std::uint8_t notMIDI[4] = {0x45, 1, 2, 0};
    adapter->GenerateMIDIEvent(3, noteOn);
    adapter->GenerateMIDIEvent(7, noteOff);
    adapter->GenerateMIDIEvent(9, notMIDI);
    EventList out;
    Process(nullptr, nullptr, &out);
    ASSERT_EQ(out.events.size(), 2u);
    EXPECT_EQ(out.events[0].type, vst3::kNoteOnEvent);
    EXPECT_EQ(out.events[0].sampleOffset, 3);
    EXPECT_EQ(out.events[0].noteOn.channel, 1);
    EXPECT_EQ(out.events[0].noteOn.pitch, 64);
    EXPECT_FLOAT_EQ(out.events[0].noteOn.velocity, 1.0f);
    EXPECT_EQ(out.events[0].noteOn.noteId, -1);
    EXPECT_EQ(out.events[1].type, vst3::kNoteOffEvent);
    EXPECT_EQ(out.events[1].noteOff.pitch, 64);
    EventList next;
    Process(nullptr, nullptr, &next);
    EXPECT_TRUE(next.events.empty());
}

TEST_F(Vst3Adapter, AutomationGoesToTheComponentHandler) {
    adapter->SendAutomation(0, 0.5);
    adapter->SendAutomation(1 << 20, 0.5);  // no such parameter
    adapter->SendBypassAutomation(true);
    EXPECT_EQ(handler.edits, (std::vector<std::pair<vst3::ParamID, double>>{{0, 0.5}, {32767, 1.0}}));
}

TEST_F(Vst3Adapter, ReadsTheHostNameFromTheContext) { EXPECT_EQ(adapter->HostName(), KString("Test Host")); }

TEST_F(Vst3Adapter, LatencyChangesAskTheHostToRestart) {
    adapter->ReportLatency();
    EXPECT_EQ(handler.restarts, std::vector<vst3::int32>{vst3::kLatencyChanged});
}

TEST(Vst3AdapterRules, NegativeTailNeverEnds) {
    EXPECT_EQ(KAudioPluginVST3Adapter::TailAnswer(-1), vst3::kInfiniteTail);
    EXPECT_EQ(KAudioPluginVST3Adapter::TailAnswer(0), vst3::kNoTail);
    EXPECT_EQ(KAudioPluginVST3Adapter::TailAnswer(4800), 4800u);
}

}  // namespace
