#pragma once
// What every block leaving the plug-in must satisfy, and the largest sample
// the design can produce from a given input.
#include <optional>
#include <string>

// The settings a bound depends on, as the host last set them.
struct KProcessingShape {
    bool gainCompensation = false;
    int upsampling = 1;
};

// Largest output magnitude for inputs of at most `inputPeak`:
//
// - each waveform table is divided by its peak, so |g| <= 1;
// - with depth d in 0..1 one oscillator gives x (1 - d + d g), at most |x|;
//   two oscillators in turn give at most |x|; summed ("Modulate") they give
//   x (1 - d + d (g1 + g2)), at most 2 |x|;
// - the jump smoother starts a fade at 2 y[-1] - y[-2] - y[0], held within
//   four times the peak even when fades overlap, so a block with a fade
//   reaches 5 times the peak;
// - an input mixed into the output adds |x| once more: 11 |x| in all;
// - the up- and down-sampling filters amplify by at most the sum of their
//   absolute impulse responses: below 2 for each elliptic half-band stage
//   in each direction (4 per octave, 64 at 8x), below 8 for each long
//   Kaiser-windowed sinc in each direction (64): 64 whenever upsampling;
// - gain compensation limits its gain to 100.
// The output clamp, where the plug-in has one, only lowers this.
double OutputBound(double inputPeak, const KProcessingShape& shape) noexcept;

// Checks one block: every sample finite, not denormal (the plug-in keeps
// its arithmetic out of denormals and must not hand any to the host) and
// within `bound`. Says what is wrong with the first bad sample.
std::optional<std::string> CheckBlock(const float* const* outputs, int channels, int frames, double bound);
