#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "KTortureInstance.h"

namespace {

// A waveform change fades its jump out over 44100 samples at the internal
// rate; after that much silence no fade is left to hide the impulse.
constexpr int kSettleFrames = 44100 + 1024;
// The longest latency: high-quality upsampling at 2x with the long filter,
// 6144 / 2 host samples.
constexpr int kImpulseWindow = 3072 + 4096;
// The ordinary upsampling filters are minimum-phase half-band stages whose
// few samples of group delay are not reported.
constexpr int kUnreportedHalfbandDelay = 8;
// A waveform that a background build finishes during a probe is taken up
// at the start of a block, and its fade continues the slope of what was
// heard, impulse and all: it can move the loudest sample of that one probe.
// On a loaded machine builds lag, and two probes of three may be moved.
// A probe is repeated before its delay counts as wrong; a wrong latency is
// wrong every time, the same way.
constexpr int kProbes = 3;
// Each has a depth that the probe turns to 0.
constexpr std::size_t kOscillators = 2;

}  // namespace

// Both formats name a parameter by its identifier: "depth0" and "depth1".
std::vector<int> KTortureInstance::DepthParameters() {
    std::vector<int> depths;
    const int count = std::min(ParameterCount(), 16);
    for (int i = 0; i < count; ++i) {
        const std::string name = ParameterName(i);
        if (name == "depth0" || name == "depth1") depths.push_back(i);
    }
    return depths;
}

KTortureInstance::KImpulseDelay KTortureInstance::MeasureImpulseDelay() {
    const int blockSize = m_blockSize.load();
    std::vector<float> collected;
    collected.reserve(std::size_t(kSettleFrames + kImpulseWindow + 2 * kMaxBlock));
    while (int(collected.size()) < kSettleFrames) ProcessQuietly(nullptr, blockSize, collected);
    collected.clear();

    std::vector<float> impulse(std::size_t(blockSize), 0.0f);
    impulse[0] = 0.5f;
    ProcessQuietly(impulse.data(), blockSize, collected);
    while (int(collected.size()) < kImpulseWindow) ProcessQuietly(nullptr, blockSize, collected);

    KImpulseDelay delay;
    const auto notFinite = std::find_if(collected.begin(), collected.end(), [](float v) { return !std::isfinite(v); });
    if (notFinite != collected.end()) delay.notFiniteAt = int(notFinite - collected.begin());
    else delay.samples = int(std::max_element(collected.begin(), collected.end()) - collected.begin());
    return delay;
}

void KTortureInstance::CheckLatency() {
    Drain();
    // With a depth left up, the probe measures where the oscillators let
    // the impulse through, not the delay.
    const std::vector<int> depths = DepthParameters();
    if (depths.size() != kOscillators) {
        m_failure.Report(m_index, "latency probe: " + std::to_string(depths.size()) +
                                      " depth parameters found by name, expected " + std::to_string(kOscillators));
        return;
    }
    std::vector<double> kept;
    for (int depth : depths) {
        kept.push_back(GetParameter(depth));
        SetParameter(depth, 0.0);
    }
    const int reported = ReportedLatency();
    const bool halfband = m_shape.processing.upsampling > 1 && !m_shape.highQualityUpsampling;
    const int tolerance = halfband ? kUnreportedHalfbandDelay : 0;
    std::vector<KImpulseDelay> probes;
    while (int(probes.size()) < kProbes) {
        probes.push_back(MeasureImpulseDelay());
        const KImpulseDelay& last = probes.back();
        if (last.notFiniteAt >= 0 || std::abs(last.samples - reported) <= tolerance) break;
    }
    for (std::size_t i = 0; i < depths.size(); ++i) SetParameter(depths[i], kept[i]);
    ReportProbes(probes, reported, tolerance);
}

// Probes that missed the reported latency in different ways show a plug-in
// that keeps changing its own sound (a waveform build landing under a
// probe, a multiparameter or a controller moving the depth or the
// waveform), not a wrong latency: such a check proves nothing and is not
// counted. Only probes that all find the same wrong delay fail.
void KTortureInstance::ReportProbes(const std::vector<KImpulseDelay>& probes, int reported, int tolerance) {
    const KImpulseDelay& last = probes.back();
    if (last.notFiniteAt >= 0) {
        m_counters.latencyChecks.fetch_add(1, std::memory_order_relaxed);
        m_failure.Report(m_index, "latency probe: output not finite " + std::to_string(last.notFiniteAt) +
                                      " samples after the impulse (" + Describe(m_shape) + ")");
        return;
    }
    if (std::abs(last.samples - reported) <= tolerance) {
        m_counters.latencyChecks.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    std::string measured;
    bool same = true;
    for (std::size_t i = 0; i < probes.size(); ++i) {
        measured += (i ? ", " : "") + std::to_string(probes[i].samples);
        same = same && probes[i].samples == probes[0].samples;
    }
    if (!same) return;
    m_counters.latencyChecks.fetch_add(1, std::memory_order_relaxed);
    m_failure.Report(m_index, "latency reported " + std::to_string(reported) + ", measured " + measured + " (" +
                                  Describe(m_shape) + ")");
}
