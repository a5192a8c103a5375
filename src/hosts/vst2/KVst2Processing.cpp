// The audio thread: transport, the block itself and the MIDI it produced.
#include <algorithm>

#include "foundation/core/Guard.h"
#include "hosts/vst2/KAudioPluginVSTAdapter.h"
#include "hosts/vst2/KVst2Transport.h"
#include "hosts/vst2/abi/VstOpcodes.h"

namespace Vst2 {

namespace {

// The plug-in's block entry takes buses of eight channel pointers.
constexpr int kWideBus = 8;
constexpr int kMaxBuses = 8;

int BusCount(int channels, int channelsPerBus) noexcept {
    return std::min(kMaxBuses, (channels + channelsPerBus - 1) / channelsPerBus);
}

// Each bus becomes eight pointers: its own channels, the last one repeated;
// a bus whose first channel the host left out becomes eight null pointers.
void WidenBuses(float** host, int channels, int channelsPerBus, float** wide) noexcept {
    const int buses = BusCount(channels, channelsPerBus);
    for (int bus = 0; bus < buses; ++bus) {
        float** source = host + bus * channelsPerBus;
        float** target = wide + bus * kWideBus;
        const int own = std::min(channelsPerBus, channels - bus * channelsPerBus);
        for (int c = 0; c < kWideBus; ++c) target[c] = source[0] ? source[std::min(c, own - 1)] : nullptr;
    }
}

}  // namespace

void KAudioPluginVSTAdapter::processReplacing(float** inputs, float** outputs, VstInt32 frames) {
    KGuard::Run("KAudioPluginVSTAdapter::processReplacing",
                [&] { PerformProcessing(inputs, outputs, frames, true); });
}

void KAudioPluginVSTAdapter::process(float** inputs, float** outputs, VstInt32 frames) {
    KGuard::Run("KAudioPluginVSTAdapter::process", [&] { PerformProcessing(inputs, outputs, frames, false); });
}

void KAudioPluginVSTAdapter::PerformProcessing(float** inputs, float** outputs, VstInt32 frames, bool replacing) {
    if (frames <= 0 || !outputs) return;
    UpdateTransport();
    const int perBus = m_plugin->ChannelsPerBus();
    const bool oneBusEach = BusCount(m_effect.numInputs, perBus) == 1 && BusCount(m_effect.numOutputs, perBus) == 1;
    if (perBus == kWideBus || oneBusEach)
        m_plugin->ProcessBlock(inputs, outputs, frames, replacing);
    else
        ProcessWidened(inputs, outputs, frames, replacing);
    SendMidiQueue();
}

void KAudioPluginVSTAdapter::ProcessWidened(float** inputs, float** outputs, VstInt32 frames, bool replacing) {
    float* wideInputs[kMaxBuses * kWideBus] = {};
    float* wideOutputs[kMaxBuses * kWideBus] = {};
    const int perBus = m_plugin->ChannelsPerBus();
    if (inputs) WidenBuses(inputs, m_effect.numInputs, perBus, wideInputs);
    WidenBuses(outputs, m_effect.numOutputs, perBus, wideOutputs);
    m_plugin->ProcessBlock(wideInputs, wideOutputs, frames, replacing);
}

void KAudioPluginVSTAdapter::UpdateTransport() {
    KTransportInfo& transport = m_plugin->Transport();
    if (!m_plugin->WantsTransport()) {
        transport.updated = transport.updatedForEditor = true;
        return;
    }
    const auto* time = reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, kBlockTimeMask));
    if (time) Vst2::UpdateTransport(*time, transport, m_lastSongPosition);
}

}  // namespace Vst2
