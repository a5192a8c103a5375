#pragma once
// Stereo test material for the module tests and the host programs: a few
// partials, the same for every call and every build.
#include <cmath>
#include <cstddef>
#include <vector>

namespace HostTest {

inline std::vector<float> TestSignal(int frames, int channel) {
    std::vector<float> samples(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i)
        samples[std::size_t(i)] = float(0.4 * std::sin(0.013 * i * (channel + 1)) + 0.2 * std::sin(0.171 * i + channel));
    return samples;
}

}  // namespace HostTest
