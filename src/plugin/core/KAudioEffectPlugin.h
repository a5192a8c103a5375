#pragma once
#include "plugin/core/KPlugin.h"

// Per-block context the adapter hands to the effect (this system's effect
// does not read it).
struct KProcessingContext {
    std::int64_t processedSamples = 0;
};

// An effect: a KPlugin that processes audio blocks.
class KAudioEffectPlugin : public KPlugin {
public:
    std::int64_t Dispatch(std::int32_t opcode, std::int64_t* parameters) override;

    // `channels` is the number of channel buffers Process will be given (at
    // most 8); `sampleRate` the rate of the effect's own processing.
    virtual int InitProcessing(int channels, double sampleRate) = 0;
    virtual void InitProcessingGUI() {}
    virtual void Process(KProcessingContext* context, float** inputs, float** outputs, int sampleCount) = 0;
    // Once per host block after processing, for work that need not be sample-accurate.
    virtual void ProcessUpdate() {}
    virtual int AcceptsProcessing() { return 1; }
    virtual int Latency() { return 0; }
    virtual int Query27() { return 0; }
    // Advances the oscillators without producing output.
    virtual void Skip(int sampleCount) = 0;
};
