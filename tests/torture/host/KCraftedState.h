#pragma once
// States a host could hand the plug-in that no instance saved: plain XML
// settings documents with a random choice of processing settings (some of
// them out of range), and damaged copies of real states.
#include <cstdint>
#include <string>
#include <vector>

#include "KTortureRandom.h"

// A "settings" document setting some of the processing keys.
std::string CraftSettings(KTortureRandom& random);

// A copy of `state` with bytes flipped, cut off or appended.
std::vector<std::uint8_t> Damage(std::vector<std::uint8_t> state, KTortureRandom& random);
