#pragma once
#include <array>
#include <atomic>

// The user's settings of the processing pipeline (stored with the plug-in
// state under the keys named). Everything except the bypass and the
// sub-block size takes effect through processing initialisation.
struct KPipelineSettings {
    static constexpr int kSurroundChannels = 8;
    static constexpr int kDefaultMaxLFOBlockSize = 256;

    std::atomic<bool> bypass{false};                                  // "Bypass"
    int channelMode = 0;                                              // "ChannelMode": "Left + Right"
    // All channels processed until the user leaves some out.
    std::array<bool, kSurroundChannels> surroundChannelsEnabled{true, true, true, true,
                                                                true, true, true, true};  // "SurroundChannelsEnable"
    std::atomic<int> maxLFOBlockSize{kDefaultMaxLFOBlockSize};         // "MaxLFOBlockSize"
    // Off by default: upsampling multiplies the effect's cost, and a user
    // turns it on for the settings that alias.
    int upsampling = 1;                                               // "upsampling"
    // Off by default: it adds latency.
    bool highQualityUpsampling = false;                               // "hqupsampling"
    // The longer high-quality filter (four times the latency); not stored,
    // for offline rendering where latency does not matter.
    bool longUpsamplingFilter = false;
    bool automaticGainControl = false;                                // "AGC"
};

// How a plug-in's processing meets its buffers; set by the plug-in itself.
struct KProcessingTraits {
    // Process reads its inputs after writing its outputs, so in-place host
    // buffers are copied first.
    bool copyInputs = false;
    // Process adds its result to the outputs instead of writing them; the
    // pipeline clears them first.
    bool addsIntoOutputs = false;
    // Process produces only the wet signal; the pipeline adds the dry input.
    bool mixInputs = false;
};
