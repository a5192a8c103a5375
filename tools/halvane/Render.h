#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class KQuenlorAudioEffectPlugin;

struct RenderOptions {
    std::optional<std::filesystem::path> input;  // none: the built-in demo
    std::filesystem::path output;
    // A Standard MIDI File whose messages reach the plug-in at their frames.
    std::optional<std::filesystem::path> midi;
    int blockSize = 512;
    int demoRate = 48000;
    double demoSeconds = 8;
    bool showProgress = false;
    // Pipeline settings; those not given keep what the plug-in holds (its
    // defaults, or a loaded state).
    std::optional<bool> bypass;
    std::optional<int> channelMode;
    std::optional<int> upsampling;
    std::optional<bool> highQuality;
    std::optional<bool> automaticGain;
};

struct RenderSummary {
    double seconds = 0;
    double peakIn = 0;
    double peakOut = 0;
    double realTimeFactor = 0;
};

// Runs the plug-in over the input in host-sized blocks, the way a host
// drives it, and writes the output file. The plug-in's latency is
// compensated, as a host does, so that the output lines up with the input.
// Blocks are cut at MIDI messages, so each takes effect at its own frame.
RenderSummary Render(KQuenlorAudioEffectPlugin& plugin, const RenderOptions& options);
