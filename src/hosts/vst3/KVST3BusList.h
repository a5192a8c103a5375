#pragma once
#include <vector>

#include "foundation/text/KString.h"
#include "hosts/vst3/abi/Vst3Structures.h"

// The buses a component offers, by media type and direction, each with its
// speaker arrangement and whether the host switched it on. Buses start
// inactive; the host activates the ones it uses.
class KVST3BusList {
public:
    struct Bus {
        KString name;
        vst3::BusType type;
        vst3::SpeakerArrangement arrangement;  // audio buses
        int channelCount;
        bool defaultActive;
        bool active;
    };

    void AddAudio(vst3::BusDirection direction, const KString& name, vst3::BusType type,
                  vst3::SpeakerArrangement arrangement, bool defaultActive);
    void AddEvent(vst3::BusDirection direction, const KString& name, int channels);
    void RemoveAudio() noexcept;

    int Count(vst3::MediaType type, vst3::BusDirection direction) const noexcept;
    // False for a bus that does not exist.
    bool Info(vst3::MediaType type, vst3::BusDirection direction, int index, vst3::BusInfo& info) const noexcept;
    bool Activate(vst3::MediaType type, vst3::BusDirection direction, int index, bool on) noexcept;
    bool Arrangement(vst3::BusDirection direction, int index, vst3::SpeakerArrangement& arrangement) const noexcept;

    static int SpeakerCount(vst3::SpeakerArrangement arrangement) noexcept;

private:
    std::vector<Bus>* List(vst3::MediaType type, vst3::BusDirection direction) noexcept;
    const Bus* Find(vst3::MediaType type, vst3::BusDirection direction, int index) const noexcept;

    std::vector<Bus> m_lists[2][2];  // [media type][direction]
};
