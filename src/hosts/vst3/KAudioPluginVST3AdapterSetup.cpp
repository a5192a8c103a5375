// Buses, parameters, processing set-up and state of the VST 3 bridge.
#include <algorithm>

#include "foundation/core/Guard.h"
#include "hosts/vst3/KAudioPluginVST3Adapter.h"
#include "hosts/vst3/KVST3StateStream.h"

namespace {

constexpr int kMIDIChannels = 16;
constexpr int kSwitchParameterType = 4;
// Every arrangement that fits a surround bus: L R C Ls Rs Cs Sl Sr.
constexpr vst3::SpeakerArrangement kWideArrangement = 1847;

int MaxSpeakers(const vst3::SpeakerArrangement* arrangements, int count) noexcept {
    int most = 0;
    for (int i = 0; arrangements && i < count; ++i) most = std::max(most, KVST3BusList::SpeakerCount(arrangements[i]));
    return most;
}

vst3::SpeakerArrangement Proposed(const vst3::SpeakerArrangement* arrangements, int count,
                                  vst3::SpeakerArrangement current) noexcept {
    return arrangements && count > 0 ? arrangements[0] : current;
}

vst3::SpeakerArrangement Requested(const vst3::SpeakerArrangement* arrangements, int count, int maxSpeakers,
                                   int channelsPerBus, vst3::SpeakerArrangement current) noexcept {
    vst3::SpeakerArrangement requested = Proposed(arrangements, count, current);
    if (channelsPerBus < maxSpeakers) requested = channelsPerBus == 2 ? vst3::SpeakerArr::kStereo : kWideArrangement;
    return requested;
}

}  // namespace

void KAudioPluginVST3Adapter::BuildAudioBuses() {
    m_buses.RemoveAudio();
    const int perBus = std::max(1, m_plugin->ChannelsPerBus());
    const int inputBuses = m_plugin->InputChannelCount() / perBus;
    if (inputBuses == 1 || inputBuses == 2)
        m_buses.AddAudio(vst3::kInput, "Stereo In", vst3::kMain, m_inputArrangement, true);
    if (inputBuses == 2) m_buses.AddAudio(vst3::kInput, "Sidechain", vst3::kAux, m_inputArrangement, false);
    const int outputBuses = m_plugin->OutputChannelCount() / perBus;
    for (int b = 0; b < outputBuses; ++b) {
        const KString name = outputBuses == 1 ? KString("Stereo Out") : KString::Printf("Stereo Out %d", b + 1);
        m_buses.AddAudio(vst3::kOutput, name, vst3::kMain, m_outputArrangement, true);
    }
}

void KAudioPluginVST3Adapter::BuildEventBuses() {
    if (m_plugin->AcceptsMIDIInput()) m_buses.AddEvent(vst3::kInput, "Midi In", kMIDIChannels);
    if (m_plugin->SendsMIDIOutput()) m_buses.AddEvent(vst3::kOutput, "Midi Out", kMIDIChannels);
}

void KAudioPluginVST3Adapter::RegisterParameters() {
    for (int i = 0; i < m_plugin->ParameterCount(); ++i) {
        const int steps = m_plugin->ParameterType(i) == kSwitchParameterType ? 1 : 0;
        const double defaultValue = float(m_plugin->ParameterDefault(i));
        m_parameters.Add({vst3::ParamID(i), m_plugin->ParameterID(i), steps, defaultValue, vst3::kCanAutomate});
    }
    m_parameters.Add({kBypassID, "Bypass", 1, 0.0, vst3::kCanAutomate | vst3::kIsBypass});
    for (int n = 0; n < vst3::kCountCtrlNumber; ++n)
        m_parameters.Add({kControllerBaseID + vst3::ParamID(n), KString::Printf("Controller %d", n), 0, 0.0, 0});
}

vst3::int32 KAudioPluginVST3Adapter::getBusCount(vst3::MediaType type, vst3::BusDirection dir) {
    return m_buses.Count(type, dir);
}

vst3::tresult KAudioPluginVST3Adapter::getBusInfo(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 index,
                                                  vst3::BusInfo& bus) {
    return m_buses.Info(type, dir, index, bus) ? vst3::kResultOk : vst3::kInvalidArgument;
}

vst3::tresult KAudioPluginVST3Adapter::getRoutingInfo(vst3::RoutingInfo&, vst3::RoutingInfo&) {
    return vst3::kNotImplemented;
}

vst3::tresult KAudioPluginVST3Adapter::activateBus(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 index,
                                                   vst3::TBool state) {
    return m_buses.Activate(type, dir, index, state != 0) ? vst3::kResultOk : vst3::kInvalidArgument;
}

vst3::tresult KAudioPluginVST3Adapter::getBusArrangement(vst3::BusDirection dir, vst3::int32 index,
                                                         vst3::SpeakerArrangement& arr) {
    return m_buses.Arrangement(dir, index, arr) ? vst3::kResultOk : vst3::kInvalidArgument;
}

// A host may offer more channels than a bus of the plug-in holds; the
// plug-in then answers false with the arrangements it chose, which the host
// reads back.
vst3::tresult KAudioPluginVST3Adapter::setBusArrangements(vst3::SpeakerArrangement* inputs, vst3::int32 numIns,
                                                          vst3::SpeakerArrangement* outputs, vst3::int32 numOuts) {
    return KGuard::Run("KAudioPluginVST3Adapter::setBusArrangements", vst3::kResultFalse, [&] {
        const int perBus = m_plugin->ChannelsPerBus();
        const int maxIn = MaxSpeakers(inputs, numIns), maxOut = MaxSpeakers(outputs, numOuts);
        // A proposal that keeps either side as it is changes nothing; one that
        // asks for more than a bus holds is cut to what fits and refused.
        if (Proposed(inputs, numIns, m_inputArrangement) == m_inputArrangement ||
            Proposed(outputs, numOuts, m_outputArrangement) == m_outputArrangement)
            return vst3::kResultOk;
        const auto in = Requested(inputs, numIns, maxIn, perBus, m_inputArrangement);
        const auto out = Requested(outputs, numOuts, maxOut, perBus, m_outputArrangement);
        m_inputArrangement = in;
        m_outputArrangement = out;
        BuildAudioBuses();
        if (maxIn > perBus || maxOut > perBus) return vst3::kResultFalse;
        m_plugin->SetHostChannels(maxIn, maxOut);
        return vst3::kResultOk;
    });
}

vst3::tresult KAudioPluginVST3Adapter::canProcessSampleSize(vst3::int32 symbolicSampleSize) {
    return symbolicSampleSize == vst3::kSample32 ? vst3::kResultTrue : vst3::kResultFalse;
}

vst3::uint32 KAudioPluginVST3Adapter::getLatencySamples() {
    return vst3::uint32(std::max(0, m_plugin->Latency()));
}

vst3::uint32 KAudioPluginVST3Adapter::getTailSamples() { return TailAnswer(m_plugin->TailSamples()); }

vst3::tresult KAudioPluginVST3Adapter::setupProcessing(vst3::ProcessSetup& setup) {
    return KGuard::Run("KAudioPluginVST3Adapter::setupProcessing", vst3::kResultFalse, [&] {
        if (setup.sampleRate > 100.0) {
            m_plugin->SetSampleRate(RoundedSampleRate(setup.sampleRate));
            if (setup.maxSamplesPerBlock > 0) m_plugin->SetMaxBlockSize(setup.maxSamplesPerBlock);
            m_plugin->InitProcessing();
        }
        return canProcessSampleSize(setup.symbolicSampleSize);
    });
}

// Latency changes reported while the host is switching the plug-in on or
// off are not sent back as a restart: the host re-reads the latency anyway.
vst3::tresult KAudioPluginVST3Adapter::setActive(vst3::TBool state) {
    KGuard::Run("KAudioPluginVST3Adapter::setActive", [&] {
        m_inSetActive = true;
        if (state) m_plugin->InitProcessing();
        m_inSetActive = false;
    });
    return vst3::kResultOk;
}

vst3::tresult KAudioPluginVST3Adapter::setProcessing(vst3::TBool) { return vst3::kResultOk; }

vst3::uint32 KAudioPluginVST3Adapter::getProcessContextRequirements() {
    return vst3::kNeedProjectTimeMusic | vst3::kNeedBarPositionMusic | vst3::kNeedCycleMusic | vst3::kNeedTempo |
           vst3::kNeedTimeSignature | vst3::kNeedTransportState;
}

vst3::tresult KAudioPluginVST3Adapter::getState(vst3::IBStream* state) {
    if (!state) return vst3::kInvalidArgument;
    return KGuard::Run("KAudioPluginVST3Adapter::getState", vst3::kResultFalse, [&] {
        KMemoryStream bytes = m_plugin->SaveState();
        const bool written = KVST3StateStream::WriteAll(*state, bytes.Data(), int(bytes.Size()));
        return written ? vst3::kResultOk : vst3::kResultFalse;
    });
}

// A block that cannot be read leaves the plug-in as it was.
vst3::tresult KAudioPluginVST3Adapter::setState(vst3::IBStream* state) {
    if (!state) return vst3::kInvalidArgument;
    return KGuard::Run("KAudioPluginVST3Adapter::setState", vst3::kResultFalse, [&] {
        const std::vector<std::uint8_t> bytes = KVST3StateStream::ReadAll(*state);
        return m_plugin->LoadState(bytes.data(), int(bytes.size())) ? vst3::kResultOk : vst3::kResultFalse;
    });
}

vst3::tresult KAudioPluginVST3Adapter::setComponentState(vst3::IBStream*) { return vst3::kResultOk; }
