// The plug-in through a loaded module: set-up, parameters, buses, blocks
// and state, each as a host drives them.
#include <gtest/gtest.h>

#include <string>

#include "hosts/vst3/Vst3TestHost.h"

using namespace vst3test;

namespace {

std::string Ascii(const char16_t* text) {
    std::string result;
    for (; *text; ++text) result += char(*text);
    return result;
}

double AfterQueue(std::vector<std::pair<vst3::int32, double>> points, vst3::ParamID* id = nullptr) {
    Instance plugin;
    plugin.Start();
    const vst3::ParamID parameter = plugin.ContinuousParameter();
    if (id) *id = parameter;
    ParameterChanges changes;
    changes.Add(parameter, std::move(points));
    plugin.Process(Instance::kFrames, &changes);
    return plugin.controller->getParamNormalized(parameter);
}

TEST(Vst3Plugin, PublishesPluginParametersThenBypassThenControllers) {
    Instance plugin;
    plugin.Start();
    const int count = plugin.controller->getParameterCount();
    // The plug-in's own, "Bypass", and "Controller 0".."Controller 129".
    ASSERT_GT(count, 131);
    const int own = count - 131;
    vst3::ParameterInfo info{};
    ASSERT_EQ(plugin.controller->getParameterInfo(own - 1, info), vst3::kResultOk);
    EXPECT_EQ(info.id, vst3::ParamID(own - 1));
    EXPECT_EQ(info.flags, vst3::kCanAutomate);
    ASSERT_EQ(plugin.controller->getParameterInfo(own, info), vst3::kResultOk);
    EXPECT_EQ(info.id, 32767u);
    EXPECT_EQ(Ascii(info.title), "Bypass");
    EXPECT_EQ(info.flags, 65537);
    EXPECT_EQ(info.stepCount, 1);
    ASSERT_EQ(plugin.controller->getParameterInfo(own + 8, info), vst3::kResultOk);
    EXPECT_EQ(info.id, 10007u);
    EXPECT_EQ(Ascii(info.title), "Controller 7");
    EXPECT_EQ(info.flags, 0);
    ASSERT_EQ(plugin.controller->getParameterInfo(count - 1, info), vst3::kResultOk);
    EXPECT_EQ(info.id, 10129u);
    EXPECT_NE(plugin.controller->getParameterInfo(count, info), vst3::kResultOk);

    // A second initialize, through the controller, registers nothing again.
    EXPECT_EQ(plugin.controller->initialize(&plugin.host), vst3::kResultOk);
    EXPECT_EQ(plugin.controller->getParameterCount(), count);
}

TEST(Vst3Plugin, OffersStereoBusesAndRefusesSurroundInput) {
    Instance plugin;
    plugin.Start();
    vst3::BusInfo bus{};
    ASSERT_EQ(plugin.component->getBusCount(vst3::kAudio, vst3::kInput), 1);
    ASSERT_EQ(plugin.component->getBusInfo(vst3::kAudio, vst3::kInput, 0, bus), vst3::kResultOk);
    EXPECT_EQ(Ascii(bus.name), "Stereo In");
    EXPECT_EQ(bus.channelCount, 2);
    ASSERT_EQ(plugin.component->getBusInfo(vst3::kAudio, vst3::kOutput, 0, bus), vst3::kResultOk);
    EXPECT_EQ(Ascii(bus.name), "Stereo Out");

    // 5.1 does not fit a stereo bus: refused, and the buses stay stereo.
    vst3::SpeakerArrangement surroundIn = vst3::SpeakerArr::k51, surroundOut = vst3::SpeakerArr::k51;
    EXPECT_EQ(plugin.processor->setBusArrangements(&surroundIn, 1, &surroundOut, 1), vst3::kResultFalse);
    vst3::SpeakerArrangement in = 0, out = 0;
    plugin.processor->getBusArrangement(vst3::kInput, 0, in);
    plugin.processor->getBusArrangement(vst3::kOutput, 0, out);
    EXPECT_EQ(in, vst3::SpeakerArr::kStereo);
    EXPECT_EQ(out, vst3::SpeakerArr::kStereo);

    // Only the input differs from what is in force: nothing changes.
    vst3::SpeakerArrangement monoIn = vst3::SpeakerArr::kMono, sameOut = vst3::SpeakerArr::kStereo;
    EXPECT_EQ(plugin.processor->setBusArrangements(&monoIn, 1, &sameOut, 1), vst3::kResultOk);
    plugin.processor->getBusArrangement(vst3::kInput, 0, in);
    EXPECT_EQ(in, vst3::SpeakerArr::kStereo);
}

TEST(Vst3Plugin, AnswersTheFixedQuestions) {
    Instance plugin;
    plugin.Start();
    // One editor view at a time, and no other kind of view.
    vst3::IPlugView* view = plugin.controller->createView("editor");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(plugin.controller->createView("editor"), nullptr);
    EXPECT_EQ(plugin.controller->createView("other"), nullptr);
    EXPECT_EQ(view->isPlatformTypeSupported("X11EmbedWindowID"), vst3::kResultTrue);
    EXPECT_EQ(view->isPlatformTypeSupported("HWND"), vst3::kResultFalse);
    view->release();
    EXPECT_EQ(plugin.processor->canProcessSampleSize(vst3::kSample32), vst3::kResultTrue);
    EXPECT_EQ(plugin.processor->canProcessSampleSize(vst3::kSample64), vst3::kResultFalse);
    EXPECT_EQ(plugin.processor->getTailSamples(), vst3::kNoTail);
    char classID[16];
    EXPECT_NE(plugin.component->getControllerClassId(classID), vst3::kResultOk);

    vst3::IMidiMapping* mapping = nullptr;
    ASSERT_EQ(plugin.component->queryInterface(Iid<vst3::IMidiMapping>(), reinterpret_cast<void**>(&mapping)),
              vst3::kResultOk);
    for (vst3::int16 channel = 0; channel < 16; ++channel) {
        vst3::ParamID id = 0;
        ASSERT_EQ(mapping->getMidiControllerAssignment(0, channel, 7, id), vst3::kResultOk);
        EXPECT_EQ(id, 10007u);
    }
    vst3::ParamID id = 0;
    EXPECT_EQ(mapping->getMidiControllerAssignment(0, 0, vst3::kPitchBend, id), vst3::kResultOk);
    EXPECT_EQ(id, 10129u);
    mapping->release();
}

TEST(Vst3Plugin, QueueAppliesOnlyItsLastPoint) {
    vst3::ParamID id = 0;
    const double three = AfterQueue({{0, 0.1}, {64, 0.5}, {128, 0.9}}, &id);
    const double last = AfterQueue({{0, 0.9}});
    const double first = AfterQueue({{0, 0.1}});
    EXPECT_DOUBLE_EQ(three, last) << "parameter " << id;
    EXPECT_NE(three, first);
}

std::vector<float> FirstBlockAt(double sampleRate) {
    Instance plugin;
    plugin.Start(sampleRate);
    plugin.Process();
    return plugin.outputs[0];
}

// The oscillators run at the rate the plug-in was given, so equal output
// means equal rates: 48000.4 is taken as 48000, 44100.5 as 44101.
TEST(Vst3Plugin, SampleRatesReachThePluginRounded) {
    EXPECT_EQ(FirstBlockAt(48000.4), FirstBlockAt(48000.0));
    EXPECT_EQ(FirstBlockAt(44100.5), FirstBlockAt(44101.0));
    EXPECT_NE(FirstBlockAt(44100.5), FirstBlockAt(44100.0));
}

TEST(Vst3Plugin, EmptyBlockAppliesNothing) {
    Instance plugin;
    plugin.Start();
    const vst3::ParamID id = plugin.ContinuousParameter();
    const double before = plugin.controller->getParamNormalized(id);
    ParameterChanges changes;
    changes.Add(id, {{0, before > 0.5 ? 0.0 : 1.0}});
    changes.Add(32767, {{0, 1.0}});
    EXPECT_EQ(plugin.Process(0, &changes), vst3::kResultOk);
    EXPECT_EQ(plugin.controller->getParamNormalized(id), before);
    EXPECT_EQ(plugin.controller->getParamNormalized(32767), 0.0);
}

TEST(Vst3Plugin, BypassPassesTheInputThrough) {
    Instance plugin;
    plugin.Start();
    ParameterChanges changes;
    changes.Add(32767, {{0, 1.0}});
    ASSERT_EQ(plugin.Process(Instance::kFrames, &changes), vst3::kResultOk);
    EXPECT_EQ(plugin.controller->getParamNormalized(32767), 1.0);
    // The plug-in has no latency at 48 kHz without upsampling, so the dry
    // path delays nothing.
    ASSERT_EQ(plugin.processor->getLatencySamples(), 0u);
    for (int s = 0; s < Instance::kFrames; ++s)
        ASSERT_NEAR(plugin.outputs[0][std::size_t(s)], plugin.inputs[0][std::size_t(s)], 1e-6) << s;
}

TEST(Vst3Plugin, ParameterTextsRoundTrip) {
    Instance plugin;
    plugin.Start();
    const vst3::ParamID id = plugin.ContinuousParameter();
    vst3::String128 text{};
    ASSERT_EQ(plugin.controller->getParamStringByValue(id, 0.75, text), vst3::kResultOk);
    EXPECT_FALSE(Ascii(text).empty());
    double value = -1;
    ASSERT_EQ(plugin.controller->getParamValueByString(id, text, value), vst3::kResultOk);
    vst3::String128 again{};
    plugin.controller->getParamStringByValue(id, value, again);
    EXPECT_EQ(Ascii(again), Ascii(text));
}

// Needs the plug-in's parameters in its stored state.
TEST(Vst3Plugin, StateLoadsIntoAnotherInstance) {
    Instance source;
    source.Start();
    const vst3::ParamID id = source.ContinuousParameter();
    ParameterChanges changes;
    changes.Add(id, {{0, 0.8}});
    source.Process(Instance::kFrames, &changes);
    MemoryStream saved;
    ASSERT_EQ(source.component->getState(&saved), vst3::kResultOk);
    ASSERT_FALSE(saved.bytes.empty());

    Instance target;
    target.Start();
    saved.Rewind();
    ASSERT_EQ(target.controller->setState(&saved), vst3::kResultOk);
    EXPECT_EQ(target.controller->getParamNormalized(id), source.controller->getParamNormalized(id));
    MemoryStream again;
    target.component->getState(&again);
    EXPECT_EQ(again.bytes, saved.bytes);
}

TEST(Vst3Plugin, CorruptStateChangesNothing) {
    Instance plugin;
    plugin.Start();
    const vst3::ParamID id = plugin.ContinuousParameter();
    const double before = plugin.controller->getParamNormalized(id);
    MemoryStream corrupt;
    corrupt.bytes = {0x78, 0x9C, 0x01, 0x02, 0x03};
    EXPECT_NE(plugin.component->setState(&corrupt), vst3::kResultOk);
    EXPECT_EQ(plugin.controller->getParamNormalized(id), before);
}

// initialize → setupProcessing → setActive → process → setActive(false) →
// terminate → release, again and again; the sanitizer build checks that
// every object goes.
TEST(Vst3Plugin, FullLifecycleRepeats) {
    for (int round = 0; round < 3; ++round) {
        Instance plugin;
        ComponentHandler handler;
        plugin.Start(44100.0);
        plugin.controller->setComponentHandler(&handler);
        EventList in, out;
        ASSERT_EQ(plugin.Process(Instance::kFrames, nullptr, &in, &out), vst3::kResultOk);
        EXPECT_EQ(plugin.component->setActive(false), vst3::kResultOk);
        EXPECT_EQ(plugin.component->terminate(), vst3::kResultOk);
        EXPECT_EQ(handler.references, 1);
        EXPECT_EQ(plugin.host.references, 1);
    }
}

}  // namespace
