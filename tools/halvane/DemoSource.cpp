#include "DemoSource.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// A small deterministic noise generator, so that every demo is the same.
class Noise {
public:
    float Next() {
        m_state = m_state * 1664525u + 1013904223u;
        return float(m_state >> 8) / float(1u << 24) * 2.0f - 1.0f;
    }

private:
    std::uint32_t m_state = 0x1234567u;
};

// Karplus-Strong plucked string: a noise burst circulating in a delay line
// through a gentle low-pass.
void AddPluck(std::vector<float>& mono, int sampleRate, std::size_t start, double frequency, float gain,
              Noise& noise) {
    const std::size_t period = std::max<std::size_t>(2, std::size_t(sampleRate / frequency + 0.5));
    std::vector<float> line(period);
    for (float& s : line) s = noise.Next();
    const std::size_t length = std::min(mono.size() - std::min(mono.size(), start), std::size_t(sampleRate) * 2);
    for (std::size_t i = 0; i < length; ++i) {
        const std::size_t k = i % period;
        const float out = line[k];
        line[k] = 0.996f * 0.5f * (out + line[(k + 1) % period]);
        mono[start + i] += gain * out;
    }
}

}  // namespace

AudioData MakeDemoSource(int sampleRate, double seconds) {
    const std::size_t frames = std::size_t(std::max(0.0, seconds) * sampleRate);
    std::vector<float> left(frames), right(frames);
    Noise noise;
    static constexpr double kArpeggio[] = {220.0, 261.63, 329.63, 440.0, 329.63, 261.63};
    const std::size_t step = std::size_t(sampleRate * 0.25);
    for (std::size_t n = 0, start = 0; start < frames; ++n, start += step) {
        const double frequency = kArpeggio[n % std::size(kArpeggio)];
        AddPluck(n % 2 ? right : left, sampleRate, start, frequency, 0.35f, noise);
        AddPluck(n % 2 ? left : right, sampleRate, start, frequency, 0.15f, noise);
    }
    // Short noise bursts on the off-beats, decaying over 30 ms.
    const std::size_t burst = std::size_t(sampleRate * 0.03);
    for (std::size_t start = step / 2; start < frames; start += step * 2)
        for (std::size_t i = 0; i < burst && start + i < frames; ++i) {
            const float envelope = 0.12f * float(std::exp(-5.0 * double(i) / double(burst)));
            left[start + i] += envelope * noise.Next();
            right[start + i] += envelope * noise.Next();
        }
    AudioData data;
    data.channels = 2;
    data.sampleRate = sampleRate;
    data.samples.resize(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
        data.samples[2 * i] = std::clamp(left[i], -1.0f, 1.0f);
        data.samples[2 * i + 1] = std::clamp(right[i], -1.0f, 1.0f);
    }
    return data;
}
