#pragma once
// Reads back from a saved state the settings that the output bound and the
// latency check depend on, so that the host knows them however they were
// set (a crafted state, a state of another instance, a damaged one).
#include <cstdint>
#include <string>
#include <vector>

#include "KOutputBound.h"

struct KStateShape {
    KProcessingShape processing;
    bool highQualityUpsampling = false;
    // For failure reports only.
    std::string channelMode = "Left + Right";
    bool bypass = false;
};

// The settings a failure report names.
std::string Describe(const KStateShape& shape);

// The shape a state block describes; `current` where the block says
// nothing (empty, unreadable, or an attribute missing).
KStateShape ShapeOfState(const std::vector<std::uint8_t>& state, const KStateShape& current);

// The looser of two shapes: for the moments when either may be in force.
KStateShape Union(const KStateShape& a, const KStateShape& b) noexcept;
