#pragma once
// What both host programs render, so that any two renderings (either
// format, either build) can be compared sample by sample: a fixed stereo
// input at 48 kHz in blocks of 512, with a fixed group of settings.
namespace HostProgram {

inline constexpr int kRate = 48000;
inline constexpr int kFrames = 5000;  // nine full blocks and a short one
inline constexpr int kBlock = 512;

// A plug-in parameter (host index = VST 3 parameter ID) and its normalised value.
struct Setting {
    int index;
    float value;
};

// Oscillator 1 at half depth, oscillator 2 on at a quarter.
inline constexpr Setting kSettings[] = {{3, 0.5f}, {7, 1.0f}, {8, 0.25f}};

}  // namespace HostProgram
