#pragma once
#include "plugin/core/KTransportInfo.h"

// The transport rules both bridges apply to what their host reports.
namespace KTransportRules {

// The bar start rounded to the nearest multiple of the time signature's
// beat unit (quarter notes: 1 / (denominator / 4), at least one a beat).
double RoundedBarStart(double barStart, int denominator) noexcept;
// The cycle, when the host has one whose end lies after its start.
void SetCycle(KTransportInfo& transport, bool active, double start, double end) noexcept;
// While the host plays, a move of more than two quarter notes since the last
// block is a jump (a locate or a loop), not playback.
void UpdatePlayState(KTransportInfo& transport, bool hostPlaying, double& lastSongPosition) noexcept;

}  // namespace KTransportRules
