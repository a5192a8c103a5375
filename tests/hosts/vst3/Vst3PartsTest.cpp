// The pieces the bridge is built from: parameter and bus lists, the
// transport copy, the outgoing event queue and whole-stream reading.
#include <gtest/gtest.h>

#include <numeric>

#include "hosts/vst3/KVST3BusList.h"
#include "hosts/vst3/KVST3EventQueue.h"
#include "hosts/vst3/KVST3ParameterList.h"
#include "hosts/vst3/KVST3StateStream.h"
#include "hosts/vst3/KVST3Transport.h"
#include "hosts/vst3/Vst3HostObjects.h"

using namespace vst3test;

namespace {

TEST(Vst3ParameterList, DiscreteParametersMapOntoTheirSteps) {
    KVST3ParameterList list;
    list.Add({5, "Switch", 1, 0.0, vst3::kCanAutomate});
    list.Add({9, "Level", 0, 0.25, vst3::kCanAutomate});
    list.Add({12, "Mode", 3, 0.0, 0});
    // A switch: 0..0.5 is off, 0.5..1 on. Four modes: quarters of 0..1.
    EXPECT_EQ(list.ToPlain(5, 0.49), 0.0);
    EXPECT_EQ(list.ToPlain(5, 0.5), 1.0);
    EXPECT_EQ(list.ToPlain(5, 1.0), 1.0);
    EXPECT_EQ(list.ToPlain(12, 0.74), 2.0);
    EXPECT_EQ(list.ToNormalized(12, 2.0), 2.0 / 3.0);
    EXPECT_EQ(list.ToPlain(9, 0.3), 0.3);
    EXPECT_EQ(list.ToNormalized(9, 0.3), 0.3);
    EXPECT_EQ(list.ToPlain(77, 0.3), 0.3);
}

TEST(Vst3ParameterList, KeepsValuesByIDInsideTheRange) {
    KVST3ParameterList list;
    list.Add({9, "Level", 0, 0.25, vst3::kCanAutomate});
    EXPECT_EQ(list.Normalized(9), 0.25);
    EXPECT_TRUE(list.SetNormalized(9, 1.5));
    EXPECT_EQ(list.Normalized(9), 1.0);
    EXPECT_FALSE(list.SetNormalized(10, 0.5));
    EXPECT_EQ(list.Normalized(10), 0.0);

    vst3::ParameterInfo info{};
    ASSERT_TRUE(list.Info(0, info));
    EXPECT_EQ(info.id, 9u);
    EXPECT_EQ(info.defaultNormalizedValue, 0.25);
    EXPECT_EQ(info.title[0], u'L');
    EXPECT_EQ(info.title[5], u'\0');
    EXPECT_FALSE(list.Info(1, info));
    EXPECT_FALSE(list.Info(-1, info));
}

TEST(Vst3BusList, DescribesAndActivatesBusesByTypeAndDirection) {
    KVST3BusList buses;
    buses.AddAudio(vst3::kInput, "Stereo In", vst3::kMain, vst3::SpeakerArr::kStereo, true);
    buses.AddAudio(vst3::kInput, "Sidechain", vst3::kAux, vst3::SpeakerArr::kStereo, false);
    buses.AddEvent(vst3::kInput, "Midi In", 16);
    EXPECT_EQ(buses.Count(vst3::kAudio, vst3::kInput), 2);
    EXPECT_EQ(buses.Count(vst3::kEvent, vst3::kInput), 1);
    EXPECT_EQ(buses.Count(vst3::kAudio, vst3::kOutput), 0);
    EXPECT_EQ(buses.Count(7, vst3::kInput), 0);

    vst3::BusInfo info{};
    ASSERT_TRUE(buses.Info(vst3::kAudio, vst3::kInput, 1, info));
    EXPECT_EQ(info.busType, vst3::kAux);
    EXPECT_EQ(info.flags, 0u);
    EXPECT_EQ(info.channelCount, 2);
    ASSERT_TRUE(buses.Info(vst3::kEvent, vst3::kInput, 0, info));
    EXPECT_EQ(info.channelCount, 16);
    EXPECT_EQ(info.flags, vst3::uint32(vst3::kDefaultActive));
    EXPECT_FALSE(buses.Info(vst3::kAudio, vst3::kInput, 2, info));
    EXPECT_TRUE(buses.Activate(vst3::kAudio, vst3::kInput, 1, true));
    EXPECT_FALSE(buses.Activate(vst3::kAudio, vst3::kOutput, 0, true));

    buses.RemoveAudio();
    EXPECT_EQ(buses.Count(vst3::kAudio, vst3::kInput), 0);
    EXPECT_EQ(buses.Count(vst3::kEvent, vst3::kInput), 1);
    EXPECT_EQ(KVST3BusList::SpeakerCount(vst3::SpeakerArr::k51), 6);
}

vst3::ProcessContext Playing(double position) {
    vst3::ProcessContext context{};
    context.state = vst3::kPlaying | vst3::kProjectTimeMusicValid | vst3::kTempoValid | vst3::kTimeSigValid;
    context.projectTimeMusic = position;
    context.tempo = 90;
    context.timeSigNumerator = 6;
    context.timeSigDenominator = 8;
    return context;
}

TEST(Vst3Transport, CopiesValidFieldsAndDetectsJumps) {
    KTransportInfo transport;
    double last = 0;
    KVST3Transport::Update(transport, Playing(1.0), last);
    EXPECT_TRUE(transport.playing);
    EXPECT_TRUE(transport.playStateChanged);
    EXPECT_TRUE(transport.updated && transport.updatedForEditor);
    EXPECT_EQ(transport.tempo, 90);
    EXPECT_EQ(transport.numerator, 6);
    EXPECT_EQ(transport.denominator, 8);
    EXPECT_EQ(transport.cycleStart, -1.0);

    // 1.0 to 3.5 is more than two quarter notes: a jump, still playing.
    KVST3Transport::Update(transport, Playing(3.5), last);
    EXPECT_TRUE(transport.positionJumped);
    EXPECT_TRUE(transport.playing);
    EXPECT_FALSE(transport.playStateChanged);
    KVST3Transport::Update(transport, Playing(4.0), last);
    EXPECT_FALSE(transport.positionJumped);

    vst3::ProcessContext stopped{};
    stopped.state = vst3::kCycleActive;
    stopped.cycleStartMusic = 4;
    stopped.cycleEndMusic = 8;
    KVST3Transport::Update(transport, stopped, last);
    EXPECT_FALSE(transport.playing);
    EXPECT_TRUE(transport.playStateChanged);
    EXPECT_EQ(transport.songPosition, 4.0);  // not valid in this context: kept
    EXPECT_EQ(transport.cycleStart, 4.0);
    EXPECT_EQ(transport.cycleEnd, 8.0);
}

// Denominator 8 rounds to eighths (0.5 quarter), 2 and 4 to quarters.
TEST(Vst3Transport, RoundsTheBarStartToTheBeatUnit) {
    EXPECT_EQ(KVST3Transport::RoundedBarStart(3.26, 8), 3.5);
    EXPECT_EQ(KVST3Transport::RoundedBarStart(3.24, 8), 3.0);
    EXPECT_EQ(KVST3Transport::RoundedBarStart(3.5, 2), 4.0);
    EXPECT_EQ(KVST3Transport::RoundedBarStart(3.49, 4), 3.0);
}

TEST(Vst3EventQueue, KeepsOrderBeyondItsFirstCapacity) {
    KVST3EventQueue queue;
    for (int i = 0; i < 300; ++i) {
        const std::uint8_t message[4] = {0x90, std::uint8_t(i % 128), 100, 0};
        queue.Add(i, message);
    }
    EXPECT_EQ(queue.Size(), 300);
    EventList list;
    queue.DeliverTo(list);
    ASSERT_EQ(list.events.size(), 300u);
    for (int i = 0; i < 300; ++i) ASSERT_EQ(list.events[std::size_t(i)].sampleOffset, i);
    EXPECT_EQ(queue.Size(), 0);
}

// 1 MB + 1 byte crosses many read chunks and ends in a partial one.
TEST(Vst3StateStream, ReadsToTheEndFromTheCurrentPosition) {
    MemoryStream stream;
    stream.bytes.resize((1 << 20) + 1);
    std::iota(stream.bytes.begin(), stream.bytes.end(), std::uint8_t(0));
    stream.position = 1;
    const std::vector<std::uint8_t> read = KVST3StateStream::ReadAll(stream);
    EXPECT_EQ(read, std::vector<std::uint8_t>(stream.bytes.begin() + 1, stream.bytes.end()));

    MemoryStream written;
    EXPECT_TRUE(KVST3StateStream::WriteAll(written, read.data(), int(read.size())));
    EXPECT_EQ(written.bytes, read);
}

}  // namespace
