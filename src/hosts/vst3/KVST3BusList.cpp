#include "hosts/vst3/KVST3BusList.h"

#include <bit>

#include "hosts/vst3/KVST3Text.h"

namespace {

bool Valid(vst3::MediaType type, vst3::BusDirection direction) noexcept {
    return (type == vst3::kAudio || type == vst3::kEvent) && (direction == vst3::kInput || direction == vst3::kOutput);
}

}  // namespace

void KVST3BusList::AddAudio(vst3::BusDirection direction, const KString& name, vst3::BusType type,
                            vst3::SpeakerArrangement arrangement, bool defaultActive) {
    List(vst3::kAudio, direction)
        ->push_back({name, type, arrangement, SpeakerCount(arrangement), defaultActive, false});
}

void KVST3BusList::AddEvent(vst3::BusDirection direction, const KString& name, int channels) {
    List(vst3::kEvent, direction)->push_back({name, vst3::kMain, 0, channels, true, false});
}

void KVST3BusList::RemoveAudio() noexcept {
    m_lists[vst3::kAudio][vst3::kInput].clear();
    m_lists[vst3::kAudio][vst3::kOutput].clear();
}

int KVST3BusList::Count(vst3::MediaType type, vst3::BusDirection direction) const noexcept {
    return Valid(type, direction) ? int(m_lists[type][direction].size()) : 0;
}

bool KVST3BusList::Info(vst3::MediaType type, vst3::BusDirection direction, int index,
                        vst3::BusInfo& info) const noexcept {
    const Bus* bus = Find(type, direction, index);
    if (!bus) return false;
    info = {};
    info.mediaType = type;
    info.direction = direction;
    info.channelCount = bus->channelCount;
    KVST3::CopyText(info.name, bus->name);
    info.busType = bus->type;
    info.flags = bus->defaultActive ? vst3::uint32(vst3::kDefaultActive) : 0u;
    return true;
}

bool KVST3BusList::Activate(vst3::MediaType type, vst3::BusDirection direction, int index, bool on) noexcept {
    Bus* bus = const_cast<Bus*>(Find(type, direction, index));
    if (!bus) return false;
    bus->active = on;
    return true;
}

bool KVST3BusList::Arrangement(vst3::BusDirection direction, int index,
                               vst3::SpeakerArrangement& arrangement) const noexcept {
    const Bus* bus = Find(vst3::kAudio, direction, index);
    if (!bus) return false;
    arrangement = bus->arrangement;
    return true;
}

int KVST3BusList::SpeakerCount(vst3::SpeakerArrangement arrangement) noexcept { return std::popcount(arrangement); }

std::vector<KVST3BusList::Bus>* KVST3BusList::List(vst3::MediaType type, vst3::BusDirection direction) noexcept {
    return Valid(type, direction) ? &m_lists[type][direction] : nullptr;
}

const KVST3BusList::Bus* KVST3BusList::Find(vst3::MediaType type, vst3::BusDirection direction,
                                            int index) const noexcept {
    if (!Valid(type, direction) || index < 0 || index >= Count(type, direction)) return nullptr;
    return &m_lists[type][direction][std::size_t(index)];
}
