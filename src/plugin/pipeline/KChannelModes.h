#pragma once
#include <array>

#include "foundation/text/KString.h"

// The channel modes: which channels of a bus the effect processes and how
// the stereo pair is coded around it.
namespace KChannelModes {

enum Mode : int {
    LeftRight = 0,
    Left = 1,
    Right = 2,
    Mid = 3,
    Side = 4,
    MidSide = 5,
    LeftRightNegative = 6,
    Surround = 7,
};
constexpr int kCount = 8;

struct Description {
    const char* name;         // shown in the editor
    const char* storedName;   // written to stored state
    const char* shortName;
    const char* help;
    int effectChannels;       // channels per bus the effect processes
    int outputChannels;       // channels per bus the plug-in outputs
    bool midSide;             // reported to the effect as mid/side
    bool encoded;             // the pair is coded before and decoded after the effect
};

const Description& Describe(int mode) noexcept;
// A mode outside 0..7 is taken as "Left + Right".
int Clamp(int mode) noexcept;

// The names in mode order, as shown and as stored.
const std::array<const char*, kCount>& DisplayNames() noexcept;
const std::array<const char*, kCount>& StoredNames() noexcept;
// The mode whose stored name (or, failing that, shown name) equals `name`
// without regard to case; -1 when none does.
int FindByName(const KString& name);

}  // namespace KChannelModes
