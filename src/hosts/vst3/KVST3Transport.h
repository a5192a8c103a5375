#pragma once
#include "hosts/vst3/abi/Vst3Structures.h"
#include "plugin/core/KTransportInfo.h"

// Copies what a host's process context says about the transport into the
// plug-in's transport record. Fields whose validity bit is clear keep their
// values. `lastSongPosition` belongs to the bridge and detects jumps.
namespace KVST3Transport {

void Update(KTransportInfo& transport, const vst3::ProcessContext& context, double& lastSongPosition) noexcept;

// The bar start rounded to the nearest 1/d quarter note, d = denominator / 4
// (at least 1).
double RoundedBarStart(double barPosition, int denominator) noexcept;

}  // namespace KVST3Transport
