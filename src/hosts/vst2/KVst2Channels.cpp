// Pin counts, pin properties and speaker arrangements.
#include <algorithm>
#include <cstring>

#include "foundation/core/Guard.h"
#include "hosts/vst2/KAudioPluginVSTAdapter.h"
#include "hosts/vst2/KVst2Text.h"

namespace Vst2 {

namespace {

// Hosts before 2.3 know only stereo buses; hosts before 1.0 expect a stereo
// input even from a plug-in without one.
constexpr VstInt32 kStereoBusHosts = 2300;
constexpr VstInt32 kStereoInputHosts = 100;

}  // namespace

void KAudioPluginVSTAdapter::SetUpPins(VstInt32 hostVersion) {
    int inputs = m_plugin->InputChannelCount();
    int outputs = m_plugin->OutputChannelCount();
    if (hostVersion < kStereoBusHosts && inputs >= 1) {
        inputs = std::min(inputs, 2 * (inputs / m_plugin->ChannelsPerBus()));
        outputs = std::min(outputs, 2);
        m_plugin->SetHostChannels(inputs, outputs);
        m_plugin->SetChannelsPerBus(2);
    }
    if (hostVersion < kStereoInputHosts && inputs < 2) inputs = 2;
    m_effect.numInputs = inputs;
    m_effect.numOutputs = outputs;
}

bool KAudioPluginVSTAdapter::getInputProperties(VstInt32 index, VstPinProperties* properties) {
    return KGuard::Run("KAudioPluginVSTAdapter::getInputProperties", false,
                       [&] { return PinProperties(index, true, properties); });
}

bool KAudioPluginVSTAdapter::getOutputProperties(VstInt32 index, VstPinProperties* properties) {
    return KGuard::Run("KAudioPluginVSTAdapter::getOutputProperties", false,
                       [&] { return PinProperties(index, false, properties); });
}

// The channel lists are the pins announced in the record: the channels the
// host connects later do not change them.
bool KAudioPluginVSTAdapter::PinProperties(VstInt32 index, bool input, VstPinProperties* properties) {
    const int count = input ? m_effect.numInputs : m_effect.numOutputs;
    if (!properties || index < 0 || index >= count) return false;
    std::memset(properties, 0, sizeof(VstPinProperties));
    CopyHostText(input ? m_plugin->InputChannelName(index) : m_plugin->OutputChannelName(index), properties->label,
                 kVstMaxLabelLen);
    switch (m_plugin->ChannelsPerBus()) {
        case 1:
            properties->flags = kVstPinIsActive;
            properties->arrangementType = kSpeakerArrMono;
            break;
        case 2:
            properties->flags = kVstPinIsActive | kVstPinIsStereo;
            properties->arrangementType = kSpeakerArrStereo;
            break;
        default:
            properties->flags = kVstPinIsActive | kVstPinUseSpeaker;
            properties->arrangementType = kSpeakerArr80Music;
    }
    return true;
}

bool KAudioPluginVSTAdapter::setSpeakerArrangement(const VstSpeakerArrangement* in,
                                                   const VstSpeakerArrangement* out) {
    return KGuard::Run("KAudioPluginVSTAdapter::setSpeakerArrangement", false, [&] {
        if ((in && in->numChannels > m_effect.numInputs) || (out && out->numChannels > m_effect.numOutputs))
            return false;
        const int perBus = m_plugin->ChannelsPerBus();
        int inputs = -1;  // unchanged
        if (m_plugin->InputBusCount() == 0)
            inputs = 0;
        else if (in)
            inputs = std::min<int>(in->numChannels, perBus);
        const int outputs = out ? std::max(1, std::min<int>(out->numChannels, perBus)) : 1;
        m_plugin->ConfigureHostChannels(inputs, outputs);
        return true;
    });
}

}  // namespace Vst2
