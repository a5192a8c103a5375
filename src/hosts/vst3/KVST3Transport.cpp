#include "hosts/vst3/KVST3Transport.h"

#include <algorithm>
#include <cmath>

namespace KVST3Transport {
namespace {

// A playing transport that moves further than this between two blocks
// has jumped (a locate or a loop).
constexpr double kJumpQuarterNotes = 2.0;

void UpdateCycle(KTransportInfo& transport, const vst3::ProcessContext& context) noexcept {
    const bool cycle = (context.state & vst3::kCycleActive) && context.cycleEndMusic - 1e-20 > context.cycleStartMusic;
    transport.cycleStart = cycle ? context.cycleStartMusic : -1.0;
    transport.cycleEnd = cycle ? context.cycleEndMusic : -1.0;
}

void UpdatePlaying(KTransportInfo& transport, bool hostPlaying, double& lastSongPosition) noexcept {
    const bool wasPlaying = transport.playing;
    if (hostPlaying) {
        if (std::fabs(lastSongPosition - transport.songPosition) > kJumpQuarterNotes)
            transport.positionJumped = true;
        else
            transport.playing = true;
        lastSongPosition = transport.songPosition;
    } else {
        transport.playing = false;
    }
    transport.playStateChanged = transport.playing != wasPlaying;
}

}  // namespace

double RoundedBarStart(double barPosition, int denominator) noexcept {
    const int d = std::max(1, denominator / 4);
    const double x = d * barPosition;
    const double whole = std::floor(x);
    return (whole + (x - whole >= 0.5 ? 1.0 : 0.0)) / d;
}

void Update(KTransportInfo& transport, const vst3::ProcessContext& context, double& lastSongPosition) noexcept {
    transport.updated = true;
    transport.updatedForEditor = true;
    transport.positionJumped = false;
    if (context.state & vst3::kProjectTimeMusicValid) transport.songPosition = context.projectTimeMusic;
    if (context.state & vst3::kTempoValid) transport.tempo = context.tempo;
    if (context.state & vst3::kTimeSigValid) {
        transport.numerator = context.timeSigNumerator;
        transport.denominator = context.timeSigDenominator;
    }
    if (context.state & vst3::kBarPositionValid)
        transport.barStart = RoundedBarStart(context.barPositionMusic, transport.denominator);
    UpdateCycle(transport, context);
    UpdatePlaying(transport, (context.state & vst3::kPlaying) != 0, lastSongPosition);
}

}  // namespace KVST3Transport
