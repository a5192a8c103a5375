#include "hosts/common/KTransportRules.h"

#include <algorithm>
#include <cmath>

namespace KTransportRules {

namespace {
constexpr double kJumpQuarterNotes = 2.0;
}

double RoundedBarStart(double barStart, int denominator) noexcept {
    const int steps = std::max(1, denominator / 4);
    const double x = steps * barStart;
    const double whole = std::floor(x);
    return (whole + (x - whole >= 0.5 ? 1.0 : 0.0)) / steps;
}

void SetCycle(KTransportInfo& transport, bool active, double start, double end) noexcept {
    const bool cycle = active && end - 1e-20 > start;
    transport.cycleStart = cycle ? start : -1.0;
    transport.cycleEnd = cycle ? end : -1.0;
}

void UpdatePlayState(KTransportInfo& transport, bool hostPlaying, double& lastSongPosition) noexcept {
    const bool wasPlaying = transport.playing;
    if (hostPlaying) {
        if (std::fabs(lastSongPosition - transport.songPosition) > kJumpQuarterNotes) transport.positionJumped = true;
        else transport.playing = true;
        lastSongPosition = transport.songPosition;
    } else {
        transport.playing = false;
    }
    transport.playStateChanged = transport.playing != wasPlaying;
}

}  // namespace KTransportRules
