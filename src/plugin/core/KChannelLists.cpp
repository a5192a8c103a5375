#include "plugin/core/KChannelLists.h"

#include <algorithm>

#include "foundation/text/KFormatter.h"

namespace {

KString Named(const KString& name, int number) { return KFormatter("{0}{1}") << name << number; }

KString Named(const KString& name, int bus, int channel) {
    return KFormatter("{0}{1} {2}") << name << bus << channel;
}

}  // namespace

KChannelLists::KChannelLists(int inputBuses, bool surround)
    : m_channelsPerBus(surround ? kSurroundChannelsPerBus : kStereoChannelsPerBus) {
    inputBuses = std::max(inputBuses, 1);
    if (surround) BuildSurround(inputBuses);
    else BuildStereo(inputBuses);
}

// A single side-chain goes without a number; several are numbered from 1.
void KChannelLists::BuildStereo(int inputBuses) {
    m_inputs = {"In L", "In R"};
    m_outputs = {"Out L", "Out R"};
    if (inputBuses == 2) {
        m_inputs.push_back("Sidechain L");
        m_inputs.push_back("Sidechain R");
        return;
    }
    for (int bus = 1; bus < inputBuses; ++bus) {
        m_inputs.push_back(Named("Sidechain L ", bus));
        m_inputs.push_back(Named("Sidechain R ", bus));
    }
}

void KChannelLists::BuildSurround(int inputBuses) {
    for (int channel = 0; channel < kSurroundChannelsPerBus; ++channel) {
        m_inputs.push_back(Named("In ", channel));
        m_outputs.push_back(Named("Out ", channel));
    }
    for (int bus = 1; bus < inputBuses; ++bus)
        for (int channel = 0; channel < kSurroundChannelsPerBus; ++channel)
            m_inputs.push_back(inputBuses == 2 ? Named("Sidechain ", channel) : Named("Sidechain ", bus, channel));
}
