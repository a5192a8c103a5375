#include "plugin/pipeline/KChannelModes.h"

namespace KChannelModes {
namespace {

constexpr std::array<Description, kCount> kModes = {{
    {"Left + Right", "Left + Right", "L+R", "Default setting for stereo (or mono) processing.", 2, 2, false, false},
    {"Left", "Left", "L", "Processes the left channel only.", 1, 2, false, false},
    {"Right", "Right", "R", "Processes the right channel only.", 1, 2, false, false},
    {"Mid", "Mono", "M", "Processes mono content.", 1, 2, true, true},
    {"Side", "Stereo", "S", "Processes stereo content.", 1, 2, true, true},
    {"Mid + Side", "Mono + Stereo", "M+S", "Processes mono & stereo contents separately.", 2, 2, true, true},
    {"Left + Right (neg)", "Left + Right (neg)", "L+R-", "Processes both channels, but inverts the right one.", 2, 2,
     false, true},
    {"Surround", "Surround", "7.1", "Surround processing of up to 8 channels.", 8, 8, false, false},
}};

template <const char* Description::*Field>
constexpr std::array<const char*, kCount> Names() {
    std::array<const char*, kCount> names{};
    for (int i = 0; i < kCount; ++i) names[std::size_t(i)] = kModes[std::size_t(i)].*Field;
    return names;
}

constexpr std::array<const char*, kCount> kDisplayNames = Names<&Description::name>();
constexpr std::array<const char*, kCount> kStoredNames = Names<&Description::storedName>();

}  // namespace

int Clamp(int mode) noexcept { return mode >= 0 && mode < kCount ? mode : LeftRight; }

const Description& Describe(int mode) noexcept { return kModes[std::size_t(Clamp(mode))]; }

const std::array<const char*, kCount>& DisplayNames() noexcept { return kDisplayNames; }

const std::array<const char*, kCount>& StoredNames() noexcept { return kStoredNames; }

int FindByName(const KString& name) {
    for (const auto* names : {&kStoredNames, &kDisplayNames})
        for (int i = 0; i < kCount; ++i)
            if (name.EqualsNoCase(KString::FromBytes((*names)[std::size_t(i)]))) return i;
    return -1;
}

}  // namespace KChannelModes
