#include "hosts/vst3/KVST3Transport.h"

#include "hosts/common/KTransportRules.h"

namespace KVST3Transport {
double RoundedBarStart(double barPosition, int denominator) noexcept {
    return KTransportRules::RoundedBarStart(barPosition, denominator);
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
    KTransportRules::SetCycle(transport, (context.state & vst3::kCycleActive) != 0, context.cycleStartMusic,
                              context.cycleEndMusic);
    KTransportRules::UpdatePlayState(transport, (context.state & vst3::kPlaying) != 0, lastSongPosition);
}

}  // namespace KVST3Transport
