#include "KCraftedState.h"

namespace {

void MaybeAdd(std::string& xml, KTortureRandom& random, const char* name, const std::string& value) {
    if (random.Chance(0.5)) xml += std::string(" ") + name + "=\"" + value + "\"";
}

std::string SurroundFlags(KTortureRandom& random) {
    std::string flags;
    const int length = random.Between(0, 10);
    for (int i = 0; i < length; ++i) flags += random.Chance(0.7) ? '1' : random.Pick({'0', 'x'});
    return flags;
}

}  // namespace

std::string CraftSettings(KTortureRandom& random) {
    static const char* const kUpsampling[] = {"1", "2", "4", "8", "1", "2", "0", "3", "16", "-1", "1000000"};
    static const char* const kChannelModes[] = {"Left + Right", "Left",     "Right",
                                                "Mono",         "Stereo",   "Mono + Stereo",
                                                "Left + Right (neg)", "Surround", "left + RIGHT", "No such mode"};
    static const char* const kBlockLimits[] = {"256", "1", "7", "64", "4096", "0", "-5", "2147483647"};
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?><settings";
    MaybeAdd(xml, random, "upsampling", random.Pick(kUpsampling));
    MaybeAdd(xml, random, "hqupsampling", random.Chance(0.5) ? "1" : "0");
    MaybeAdd(xml, random, "AGC", random.Chance(0.5) ? "1" : "0");
    MaybeAdd(xml, random, "ChannelMode", random.Pick(kChannelModes));
    MaybeAdd(xml, random, "SurroundChannelsEnable", SurroundFlags(random));
    MaybeAdd(xml, random, "Bypass", random.Chance(0.3) ? "1" : "0");
    MaybeAdd(xml, random, "MaxLFOBlockSize", random.Pick(kBlockLimits));
    MaybeAdd(xml, random, "ControllersEnabled", random.Chance(0.5) ? "1" : "0");
    MaybeAdd(xml, random, "NoteControllersEnabled", random.Chance(0.5) ? "1" : "0");
    MaybeAdd(xml, random, "PresetIndex", std::to_string(random.Between(-2, 9)));
    xml += "/>";
    return xml;
}

std::vector<std::uint8_t> Damage(std::vector<std::uint8_t> state, KTortureRandom& random) {
    switch (random.Below(3)) {
        case 0:
            for (int flips = random.Between(1, 8); flips > 0 && !state.empty(); --flips)
                state[std::size_t(random.Below(int(state.size())))] ^= std::uint8_t(1u << random.Below(8));
            break;
        case 1:
            if (!state.empty()) state.resize(std::size_t(random.Below(int(state.size()))));
            break;
        default:
            for (int extra = random.Between(1, 64); extra > 0; --extra) state.push_back(std::uint8_t(random.Below(256)));
            break;
    }
    return state;
}
