#include "hosts/vst2/KVst2Transport.h"

#include <algorithm>
#include <cmath>

namespace Vst2 {

namespace {

// A jump of more than this while playing is a relocation, not playback.
constexpr double kJumpQuarterNotes = 2.0;

void UpdateCycle(const VstTimeInfo& time, KTransportInfo& transport) noexcept {
    if (time.cycleEndPos - 1e-20 > time.cycleStartPos) {
        transport.cycleStart = time.cycleStartPos;
        transport.cycleEnd = time.cycleEndPos;
    } else {
        transport.cycleStart = transport.cycleEnd = -1.0;
    }
}

void UpdatePlayState(const VstTimeInfo& time, KTransportInfo& transport, double& lastSongPosition) noexcept {
    const bool wasPlaying = transport.playing;
    if (time.flags & kVstTransportPlaying) {
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

double RoundedBarStart(double barStartPos, int denominator) noexcept {
    const int steps = std::max(1, denominator / 4);
    const double x = steps * barStartPos;
    const double whole = std::floor(x);
    return (whole + (x - whole >= 0.5 ? 1 : 0)) / steps;
}

void CopyMusicalPosition(const VstTimeInfo& time, KTransportInfo& transport) noexcept {
    transport.songPosition = time.ppqPos;
    transport.tempo = time.tempo;
    transport.numerator = time.timeSigNumerator;
    transport.denominator = time.timeSigDenominator;
    transport.barStart = RoundedBarStart(time.barStartPos, time.timeSigDenominator);
}

void UpdateTransport(const VstTimeInfo& time, KTransportInfo& transport, double& lastSongPosition) noexcept {
    transport.updated = transport.updatedForEditor = true;
    transport.positionJumped = false;
    CopyMusicalPosition(time, transport);
    UpdateCycle(time, transport);
    UpdatePlayState(time, transport, lastSongPosition);
}

}  // namespace Vst2
