// The bridge made in this process, so that tests can look at the plug-in
// behind the record: pins for old hosts, automation, transport, MIDI.
#include <gtest/gtest.h>

#include <cstring>

#include "Vst2TestHost.h"
#include "effect/HalvaneAudioEffectPluginInterface.h"
#include "hosts/common/KPluginCreation.h"
#include "hosts/vst2/KAudioPluginVSTAdapter.h"
#include "hosts/vst2/abi/VstPins.h"

namespace Vst2Test {
namespace {

using Vst2::KAudioPluginVSTAdapter;

std::unique_ptr<KHostedPlugin> PluginWithChannels(int inputs, int outputs, int perBus) {
    auto plugin = KCreatePluginObject();
    plugin->SetEffectChannels(inputs, outputs);
    plugin->SetHostChannels(inputs, outputs);
    plugin->SetChannelsPerBus(perBus);
    return std::make_unique<KHostedPlugin>(std::move(plugin));
}

KAudioPluginVSTAdapter& AdoptAdapter(TestHost& host, std::unique_ptr<KHostedPlugin> plugin = KHostedPlugin::Create()) {
    AEffect* effect = host.Adopt([&](audioMasterCallback callback) {
        return (new KAudioPluginVSTAdapter(callback, std::move(plugin)))->getAeffect();
    });
    return *KAudioPluginVSTAdapter::FromEffect(effect);
}

void ProcessSilence(TestHost& host, int frames = 64) {
    std::vector<float> in[2] = {std::vector<float>(std::size_t(frames)), std::vector<float>(std::size_t(frames))};
    std::vector<float> out[2] = {std::vector<float>(std::size_t(frames)), std::vector<float>(std::size_t(frames))};
    host.Process(in, out);
}

TEST(Vst2Pins, HostsBefore23GetStereoBuses) {
    struct Case {
        VstIntPtr hostVersion;
        int inputs, outputs, perBus;
        int expectedInputs, expectedOutputs, expectedPerBus;
    };
    const Case cases[] = {
        // Two stereo input buses: min(4, 2 * (4 / 2)) = 4 inputs, 2 outputs.
        {2200, 4, 2, 2, 4, 2, 2},
        // Two surround input buses: min(16, 2 * (16 / 8)) = 4 inputs,
        // min(8, 2) = 2 outputs, and buses become stereo.
        {2200, 16, 8, 8, 4, 2, 2},
        {2400, 16, 8, 8, 16, 8, 8},
        // One input: hosts before 1.0 still see a stereo input.
        {50, 1, 2, 2, 2, 2, 2},
        {2400, 1, 2, 2, 1, 2, 2},
    };
    for (const Case& c : cases) {
        TestHost host(c.hostVersion);
        KAudioPluginVSTAdapter& adapter = AdoptAdapter(host, PluginWithChannels(c.inputs, c.outputs, c.perBus));
        SCOPED_TRACE(testing::Message() << "host " << c.hostVersion << ", " << c.inputs << " in");
        EXPECT_EQ(host.Effect()->numInputs, c.expectedInputs);
        EXPECT_EQ(host.Effect()->numOutputs, c.expectedOutputs);
        EXPECT_EQ(adapter.Plugin().ChannelsPerBus(), c.expectedPerBus);
    }
}

TEST(Vst2Pins, PropertiesFollowTheBusWidth) {
    TestHost stereo;
    AdoptAdapter(stereo);
    VstPinProperties pin;
    ASSERT_EQ(stereo.Dispatch(effGetInputProperties, 1, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "In R");
    EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo);
    EXPECT_EQ(pin.arrangementType, kSpeakerArrStereo);
    ASSERT_EQ(stereo.Dispatch(effGetOutputProperties, 0, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "Out L");
    EXPECT_EQ(stereo.Dispatch(effGetOutputProperties, 2, 0, &pin), 0);
    EXPECT_EQ(stereo.Dispatch(effGetInputProperties, -1, 0, &pin), 0);

    TestHost surround;
    AdoptAdapter(surround, PluginWithChannels(8, 8, 8));
    ASSERT_EQ(surround.Dispatch(effGetInputProperties, 0, 0, &pin), 1);
    EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinUseSpeaker);
    EXPECT_EQ(pin.arrangementType, 25);
}

TEST(Vst2Pins, SpeakerArrangements) {
    TestHost host;
    KAudioPluginVSTAdapter& adapter = AdoptAdapter(host);
    VstSpeakerArrangement mono{}, stereo{}, wide{};
    mono.numChannels = 1;
    stereo.numChannels = 2;
    wide.numChannels = 6;
    EXPECT_EQ(host.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&wide), &stereo), 0)
        << "more inputs than the plug-in has";
    ASSERT_EQ(host.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&mono), &mono), 1);
    EXPECT_EQ(adapter.Plugin().OutputChannelCount(), 1);
    ASSERT_EQ(host.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&stereo), &stereo), 1);
    EXPECT_EQ(adapter.Plugin().OutputChannelCount(), 2);

    VstSpeakerArrangement* in = &mono;
    VstSpeakerArrangement* out = &mono;
    EXPECT_EQ(host.Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 0);
    EXPECT_EQ(in, nullptr);
    EXPECT_EQ(out, nullptr);
}

TEST(Vst2Automation, TheHostsEchoIsNotFedBack) {
    TestHost host;
    KAudioPluginVSTAdapter& adapter = AdoptAdapter(host);
    AEffect* effect = host.Effect();
    effect->setParameter(effect, 3, 0.5f);
    // A host that writes every automated value straight back, as some do.
    host.OnAutomate([effect](VstInt32 index, float) { effect->setParameter(effect, index, 0.125f); });
    adapter.SendAutomation(3, 0.25);
    const auto sent = host.CallsOf(audioMasterAutomate);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].index, 3);
    EXPECT_FLOAT_EQ(sent[0].opt, 0.25f);
    EXPECT_FLOAT_EQ(effect->getParameter(effect, 3), 0.5f);

    // Once sent, the host's changes arrive again.
    effect->setParameter(effect, 3, 0.75f);
    EXPECT_FLOAT_EQ(effect->getParameter(effect, 3), 0.75f);

    adapter.SendAutomation(effect->numParams, 0.5);
    adapter.SendAutomation(-1, 0.5);
    EXPECT_EQ(host.CallsOf(audioMasterAutomate).size(), 1u) << "indexes outside the parameters are not sent";
}

TEST(Vst2Automation, LatencyReportSetsTheDelayAndTellsTheHost) {
    TestHost host;
    KAudioPluginVSTAdapter& adapter = AdoptAdapter(host);
    host.ClearCalls();
    host.Effect()->initialDelay = -1;
    adapter.ReportLatency();
    EXPECT_EQ(host.Effect()->initialDelay, adapter.Plugin().Latency());
    EXPECT_EQ(host.CallsOf(audioMasterIOChanged).size(), 1u);
}

VstTimeInfo PlayingAt(double ppq) {
    VstTimeInfo time{};
    time.sampleRate = 44100;
    time.ppqPos = ppq;
    time.tempo = 120;
    time.timeSigNumerator = 4;
    time.timeSigDenominator = 4;
    time.flags = kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstTimeSigValid;
    return time;
}

TEST(Vst2Transport, PlayingPositionJumpsAndCycles) {
    TestHost host;
    KAudioPluginVSTAdapter& adapter = AdoptAdapter(host);
    const KTransportInfo& transport = adapter.Plugin().Transport();

    host.SetTime(PlayingAt(1.0));
    ProcessSilence(host);
    EXPECT_TRUE(transport.playing);
    EXPECT_TRUE(transport.playStateChanged);
    EXPECT_FALSE(transport.positionJumped);
    EXPECT_EQ(host.CallsOf(audioMasterGetTime).back().value, 16071);

    host.SetTime(PlayingAt(2.5));  // 1.5 quarter notes on: playback
    ProcessSilence(host);
    EXPECT_FALSE(transport.positionJumped);
    EXPECT_FALSE(transport.playStateChanged);

    VstTimeInfo relocated = PlayingAt(10.0);  // 7.5 quarter notes on: a jump
    host.SetTime(relocated);
    ProcessSilence(host);
    EXPECT_TRUE(transport.positionJumped);
    EXPECT_TRUE(transport.playing);
    EXPECT_DOUBLE_EQ(transport.songPosition, 10.0);

    VstTimeInfo stopped = PlayingAt(10.0);
    stopped.flags &= ~kVstTransportPlaying;
    stopped.cycleStartPos = stopped.cycleEndPos = 4.0;
    host.SetTime(stopped);
    ProcessSilence(host);
    EXPECT_FALSE(transport.playing);
    EXPECT_TRUE(transport.playStateChanged);
    EXPECT_FALSE(transport.positionJumped);
    EXPECT_EQ(transport.cycleStart, -1.0) << "a cycle ending where it starts is no cycle";
    EXPECT_EQ(transport.cycleEnd, -1.0);

    stopped.cycleEndPos = 8.0;
    host.SetTime(stopped);
    ProcessSilence(host);
    EXPECT_EQ(transport.cycleStart, 4.0);
    EXPECT_EQ(transport.cycleEnd, 8.0);

    host.SetTime(std::nullopt);  // the host gives nothing: fields stay
    ProcessSilence(host);
    EXPECT_EQ(transport.cycleEnd, 8.0);
    EXPECT_DOUBLE_EQ(transport.songPosition, 10.0);
}

TEST(Vst2Transport, BarStartRoundsToTheDenominator) {
    struct Case {
        int denominator;
        double barStart, expected;
    };
    // x/8: steps of 1/2 quarter note; x/4 and x/2: whole quarter notes.
    const Case cases[] = {{8, 3.2, 3.0}, {8, 3.3, 3.5}, {8, 3.74, 3.5}, {8, 3.75, 4.0},
                          {2, 3.4, 3.0}, {2, 3.5, 4.0}, {4, 5.49, 5.0}, {16, 1.13, 1.25}};
    for (const Case& c : cases) {
        TestHost host;
        KAudioPluginVSTAdapter& adapter = AdoptAdapter(host);
        VstTimeInfo time = PlayingAt(8.0);
        time.timeSigDenominator = c.denominator;
        time.barStartPos = c.barStart;
        host.SetTime(time);
        ProcessSilence(host);
        EXPECT_DOUBLE_EQ(adapter.Plugin().Transport().barStart, c.expected)
            << c.barStart << " in x/" << c.denominator;
        EXPECT_EQ(adapter.Plugin().Transport().denominator, c.denominator);
    }
}

TEST(Vst2Midi, OutgoingEventsFollowTheBlockInOrder) {
    TestHost host;
    KAudioPluginVSTAdapter& adapter = AdoptAdapter(host);
    constexpr int kFrames = 64;
    constexpr float kUnwritten = 1234.0f;
    std::vector<float> in[2] = {std::vector<float>(kFrames, 0.5f), std::vector<float>(kFrames, 0.5f)};
    std::vector<float> out[2] = {std::vector<float>(kFrames, kUnwritten), std::vector<float>(kFrames, kUnwritten)};
    std::vector<std::array<int, 4>> received;
    bool blockWrittenFirst = false;
    host.OnEvents([&](const VstEvents& events) {
        blockWrittenFirst = out[1][kFrames - 1] != kUnwritten;
        VstEvent* const* list = events.events;  // numEvents of them
        for (int i = 0; i < events.numEvents; ++i) {
            const auto* midi = reinterpret_cast<const VstMidiEvent*>(list[i]);
            EXPECT_EQ(midi->type, kVstMidiType);
            EXPECT_EQ(midi->byteSize, 32);
            received.push_back({midi->deltaFrames, std::uint8_t(midi->midiData[0]), midi->midiData[1],
                                midi->midiData[2]});
        }
    });

    host.Process(in, out);
    EXPECT_TRUE(host.CallsOf(audioMasterProcessEvents).empty()) << "nothing queued, nothing sent";

    const std::uint8_t noteOn[4] = {0x90, 60, 100, 0}, controller[4] = {0xB0, 7, 64, 0}, noteOff[4] = {0x80, 60, 0, 0};
    adapter.GenerateMIDIEvent(5, noteOn);
    adapter.GenerateMIDIEvent(2, controller);
    adapter.GenerateMIDIEvent(40, noteOff);
    for (auto& channel : out) channel.assign(kFrames, kUnwritten);
    host.Process(in, out);
    ASSERT_EQ(host.CallsOf(audioMasterProcessEvents).size(), 1u);
    EXPECT_TRUE(blockWrittenFirst);
    const std::vector<std::array<int, 4>> expected = {{5, 0x90, 60, 100}, {2, 0xB0, 7, 64}, {40, 0x80, 60, 0}};
    EXPECT_EQ(received, expected);

    host.Process(in, out);
    EXPECT_EQ(host.CallsOf(audioMasterProcessEvents).size(), 1u) << "sent once only";
}

// Records the MIDI the bridge hands over.
class MidiRecordingPlugin : public KQuenlorAudioEffectPlugin {
public:
    std::vector<std::array<int, 4>> received;
    void ProcessMIDIMessage(int deltaFrames, const std::uint8_t* bytes) override {
        received.push_back({deltaFrames, bytes[0], bytes[1], bytes[2]});
    }
};

TEST(Vst2Midi, IncomingEventsReachThePluginInOrder) {
    auto recording = std::make_unique<MidiRecordingPlugin>();
    recording->Initialize("Halvane", "Quenlor", &HalvaneAudioEffectPluginInterface);
    MidiRecordingPlugin& plugin = *recording;
    TestHost host;
    KAudioPluginVSTAdapter& adapter = AdoptAdapter(host, std::make_unique<KHostedPlugin>(std::move(recording)));
    VstTimeInfo time = PlayingAt(6.0);
    time.barStartPos = 4.0;
    host.SetTime(time);

    VstMidiEvent first{}, second{};
    first.type = second.type = kVstMidiType;
    first.byteSize = second.byteSize = 32;
    first.deltaFrames = 10;
    std::memcpy(first.midiData, "\xB0\x01\x40", 4);
    second.deltaFrames = 3;
    std::memcpy(second.midiData, "\x90\x3C\x7F", 4);
    VstMidiSysexEvent sysex{};
    sysex.type = kVstSysExType;
    sysex.byteSize = sizeof(sysex);
    struct {
        VstInt32 numEvents;
        VstIntPtr reserved;
        VstEvent* events[3];
    } list{3, 0, {reinterpret_cast<VstEvent*>(&first), reinterpret_cast<VstEvent*>(&sysex),
                  reinterpret_cast<VstEvent*>(&second)}};

    EXPECT_EQ(host.Dispatch(effProcessEvents, 0, 0, &list), 1);
    const std::vector<std::array<int, 4>> expected = {{10, 0xB0, 1, 0x40}, {3, 0x90, 0x3C, 0x7F}};
    EXPECT_EQ(plugin.received, expected) << "MIDI in list order; the sysex dump is skipped";
    EXPECT_EQ(host.CallsOf(audioMasterGetTime).back().value, 11776);
    EXPECT_DOUBLE_EQ(adapter.Plugin().Transport().songPosition, 6.0);
    EXPECT_DOUBLE_EQ(adapter.Plugin().Transport().barStart, 4.0);
}

}  // namespace
}  // namespace Vst2Test
