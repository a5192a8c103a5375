#pragma once
#include <vector>

// Coefficient design for the resampling filters. Runs during processing
// initialisation only.
namespace KFilterDesign {

// Zeroth-order modified Bessel function of the first kind.
double BesselI0(double x) noexcept;

// Kaiser window shape parameter for a stop-band attenuation in decibels.
double KaiserBeta(double attenuationDb) noexcept;

// Width of the transition band (as a fraction of the sample rate) that a
// Kaiser-windowed filter of `taps` reaches for `attenuationDb`.
double KaiserTransitionWidth(int taps, double attenuationDb) noexcept;

// Linear-phase low-pass: a windowed sinc with its -6 dB point at `cutoff`
// (fraction of the sample rate), an odd number of taps, unity gain at DC.
std::vector<double> KaiserLowPass(int taps, double cutoff, double attenuationDb);

// Allpass coefficients of a half-band filter built from two chains of
// first-order allpass sections in z^-2 (elliptic design): even indices
// belong to the first chain, odd ones to the second. `transition` is the
// full width of the transition band around a quarter of the sample rate.
std::vector<double> HalfbandAllpassCoefficients(int count, double transition);

}  // namespace KFilterDesign
