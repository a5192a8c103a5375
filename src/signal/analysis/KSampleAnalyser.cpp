#include "signal/analysis/KSampleAnalyser.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "foundation/text/KFormatter.h"
#include "signal/analysis/KPitchDetector.h"

namespace KSampleAnalyser {
namespace {

constexpr int kMinimumFrames = 8192;
constexpr int kLatestStartFromEnd = 16384;
// Periods under the measuring window: enough to separate neighbouring
// harmonics well, few enough to follow a slowly drifting pitch.
constexpr int kWindowPeriods = 32;

std::vector<double> HannWindow(int length) {
    std::vector<double> window(static_cast<std::size_t>(length));
    for (int j = 0; j < length; ++j) window[j] = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * j / length);
    return window;
}

// sum of w x e^(-i omega j), the phasor advanced by multiplication.
std::complex<double> Correlate(const float* x, const std::vector<double>& window, double omega) {
    const std::complex<double> step = std::polar(1.0, -omega);
    std::complex<double> phasor = 1.0;
    std::complex<double> sum = 0.0;
    for (std::size_t j = 0; j < window.size(); ++j) {
        sum += window[j] * double(x[j]) * phasor;
        phasor *= step;
    }
    return sum;
}

}  // namespace

void MeasureHarmonics(const float* frames, int count, double sampleRate, double pitch, KSampleAnalysis& result) {
    const double period = sampleRate / pitch;
    const int periods = std::clamp(int(count / period), 1, kWindowPeriods);
    const int length = std::min(count, std::max(2, int(std::lround(periods * period))));
    const std::vector<double> window = HannWindow(length);

    result.magnitudes.fill(0.0f);
    result.phases.fill(0.0f);
    double peak = 0;
    std::array<double, KSampleAnalysis::kHarmonicCount> amplitudes{};
    for (int k = 0; k < KSampleAnalysis::kHarmonicCount && (k + 1) * pitch < sampleRate / 2; ++k) {
        const std::complex<double> c = Correlate(frames, window, 2 * std::numbers::pi * (k + 1) / period);
        amplitudes[k] = std::abs(c);
        peak = std::max(peak, amplitudes[k]);
        const double phase = -std::arg(c) / (2 * std::numbers::pi);
        result.phases[k] = float(phase - std::floor(phase));
    }
    if (peak <= 0) return;
    for (int k = 0; k < KSampleAnalysis::kHarmonicCount; ++k) result.magnitudes[k] = float(amplitudes[k] / peak);
}

KSampleAnalysis Analyse(const KAudioSample* sample, double position) {
    KSampleAnalysis result;
    if (!sample || sample->Length() < kMinimumFrames || !(sample->sampleRate > 0)) {
        result.message = "Sample not loaded or too short.";
        return result;
    }
    const int length = sample->Length();
    const int latest = std::max(0, length - kLatestStartFromEnd);
    const int start = std::clamp(int(length * std::clamp(position, 0.0, 1.0)), 0, latest);
    const int oneSecond = int(std::floor(sample->sampleRate + 0.5));
    const int count = std::min(length - start, std::max(std::min(oneSecond, length - start), kMinimumFrames));
    const float* frames = sample->frames.data() + start;

    const double pitch = KPitchDetector::Detect(frames, count, sample->sampleRate);
    if (pitch <= 10) {
        result.message = "Unable to detect sample pitch.";
        return result;
    }
    result.analysed = true;
    result.pitch = pitch;
    result.period = sample->sampleRate / pitch;
    MeasureHarmonics(frames, count, sample->sampleRate, pitch, result);
    KString message("Sample analyzed successfuly.\n");
    message.Append(KFormatter("Detected pitch {0}Hz, length of a period {1} samples") << pitch << result.period);
    result.message = message;
    return result;
}

}  // namespace KSampleAnalyser
