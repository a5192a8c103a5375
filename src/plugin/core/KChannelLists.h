#pragma once
#include "foundation/text/KString.h"

// The names of the plug-in's audio channels in host order, as the bridges
// show them: a main input bus, side-chain input buses after it, and one
// output bus. Every bus has the same number of channels: 2 in stereo mode,
// 8 in surround mode.
class KChannelLists {
public:
    static constexpr int kStereoChannelsPerBus = 2;
    static constexpr int kSurroundChannelsPerBus = 8;

    // A plain stereo effect.
    KChannelLists() : KChannelLists(1, false) {}
    // `inputBuses` counts the main bus; values below 1 are taken as 1.
    KChannelLists(int inputBuses, bool surround);

    const KStringList& Inputs() const noexcept { return m_inputs; }
    const KStringList& Outputs() const noexcept { return m_outputs; }
    int ChannelsPerBus() const noexcept { return m_channelsPerBus; }
    int InputBusCount() const noexcept { return int(m_inputs.size()) / m_channelsPerBus; }
    int OutputBusCount() const noexcept { return int(m_outputs.size()) / m_channelsPerBus; }

private:
    void BuildStereo(int inputBuses);
    void BuildSurround(int inputBuses);

    int m_channelsPerBus;
    KStringList m_inputs;
    KStringList m_outputs;
};
