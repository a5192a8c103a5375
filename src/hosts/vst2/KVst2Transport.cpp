#include "hosts/vst2/KVst2Transport.h"

#include "hosts/common/KTransportRules.h"

namespace Vst2 {

double RoundedBarStart(double barStartPos, int denominator) noexcept {
    return KTransportRules::RoundedBarStart(barStartPos, denominator);
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
    KTransportRules::SetCycle(transport, true, time.cycleStartPos, time.cycleEndPos);
    KTransportRules::UpdatePlayState(transport, (time.flags & kVstTransportPlaying) != 0, lastSongPosition);
}

}  // namespace Vst2
