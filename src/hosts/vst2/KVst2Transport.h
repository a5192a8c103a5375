#pragma once
#include "hosts/vst2/abi/VstTimeInfo.h"
#include "plugin/core/KTransportInfo.h"

namespace Vst2 {

// What the bridge asks of audioMasterGetTime before each block, and before
// MIDI input (musical position only).
constexpr VstInt32 kBlockTimeMask = kVstTransportChanged | kVstTransportPlaying | kVstTransportCycleActive |
                                    kVstAutomationWriting | kVstAutomationReading | kVstPpqPosValid |
                                    kVstTempoValid | kVstBarsValid | kVstCyclePosValid | kVstTimeSigValid;
constexpr VstInt32 kMidiTimeMask = kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstTimeSigValid;
static_assert(kBlockTimeMask == 16071 && kMidiTimeMask == 11776);

// The bar start in quarter notes, rounded to the nearest note value of the
// time signature's denominator (to eighths for x/8, to quarters for x/4 and
// anything coarser).
double RoundedBarStart(double barStartPos, int denominator) noexcept;

// Song position, tempo, time signature and bar start.
void CopyMusicalPosition(const VstTimeInfo& time, KTransportInfo& transport) noexcept;

// The whole transport at the start of a block. `lastSongPosition` is the
// position of the previous block, for detecting jumps while playing.
void UpdateTransport(const VstTimeInfo& time, KTransportInfo& transport, double& lastSongPosition) noexcept;

}  // namespace Vst2
