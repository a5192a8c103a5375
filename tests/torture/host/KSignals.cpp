#include "KSignals.h"

#include <algorithm>
#include <cmath>
#include <numbers>

void FillSignal(KTortureRandom& random, float* samples, int frames, double phase, double sampleRate) {
    const double amplitude = random.Chance(0.2) ? 1.0 : random.Unit();
    switch (random.Below(7)) {
        case 0: {
            const double hertz = 20 + random.Unit() * sampleRate * 0.5;
            for (int i = 0; i < frames; ++i)
                samples[i] = float(amplitude * std::sin(2 * std::numbers::pi * hertz * (phase + i / sampleRate)));
            break;
        }
        case 1:
            for (int i = 0; i < frames; ++i) samples[i] = float(amplitude * (2 * random.Unit() - 1));
            break;
        case 2: std::fill_n(samples, frames, 0.0f); break;
        case 3: {
            const int period = random.Between(2, 400);
            for (int i = 0; i < frames; ++i) samples[i] = float((i / period) % 2 ? amplitude : -amplitude);
            break;
        }
        case 4:
            std::fill_n(samples, frames, 0.0f);
            samples[random.Below(frames)] = float(random.Chance(0.5) ? amplitude : -amplitude);
            break;
        case 5: std::fill_n(samples, frames, float(amplitude * (random.Chance(0.5) ? 1 : -1))); break;
        default:
            // Tails that end just above the smallest normal float: filters
            // fed with them would decay into denormals without the offset
            // the plug-in adds. (Denormals the host itself passes in may
            // leave unprocessed channels as they came, so none are sent.)
            for (int i = 0; i < frames; ++i) samples[i] = float(1e-30 * std::pow(0.5, i % 26));
            break;
    }
}
