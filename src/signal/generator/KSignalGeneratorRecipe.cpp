#include "signal/generator/KSignalGeneratorRecipe.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <vector>

#include "signal/envelope/KEnvelopeComputer.h"

namespace {

// A NaN reads as the minimum.
double Limited(double value, double minimum, double maximum) noexcept {
    return std::isnan(value) ? minimum : std::clamp(value, minimum, maximum);
}

KEnvelope DefaultCustomMorphEnvelope() {
    KEnvelope envelope({0, 1}, {-1, 1});
    std::vector<KEnvelope::Point> points(4);
    const double xs[4] = {0, 0.25, 0.75, 1};
    const double ys[4] = {0, 1, -1, 0};
    for (int k = 0; k < 4; ++k) {
        points[k].x = xs[k];
        points[k].y = ys[k];
        points[k].type = KEnvelopeSegmentType::FourthOrder;
    }
    points.front().flags |= KEnvelope::kFixed;
    points.back().flags |= KEnvelope::kFixed;
    envelope.SetPoints(std::move(points));
    return envelope;
}

}  // namespace

const KSignalGeneratorRecipe::ControlInfo& KSignalGeneratorRecipe::Info(Control control) noexcept {
    using R = KSignalGeneratorRecipe;
    static const ControlInfo infos[kControlCount] = {
        {&R::m_shapePosition, 0, kMaxShapePosition, false},
        {&R::m_envelopeDepth, 0, 1, false},
        {&R::m_stepDepth, 0, 1, false},
        {&R::m_customSampleDepth, 0, 1, false},
        {&R::m_smoothness, 0, 1, false},
        {&R::m_phase, -1, 1, false},
        {&R::m_skew, -1, 1, false},
        {&R::m_fullSkew, -1, 1, false},
        {&R::m_halve, -1, 1, false},
        {&R::m_harmonicity, -1, 1, true},
        {&R::m_slope, -1, 1, true},
        {&R::m_fullness, 0, 1, true},
        {&R::m_fundamentalMinimum, 0, 1, true},
        {&R::m_sampleRatio, 0, 1, true},
        {&R::m_sharpen, -1, 1, true},
        {&R::m_noise, 0, 1, true},
        {&R::m_clean, 0, 1, true},
        {&R::m_compress, 0, 1, true},
        {&R::m_harmonize, 0, 1, true},
    };
    return infos[int(control)];
}

KSignalGeneratorRecipe::KSignalGeneratorRecipe()
    : m_customEnvelope(DefaultCustomMorphEnvelope()),
      m_transformEnvelope({0, 1}, {-1, 1}, 0, 1),  // identity: every phase reads itself
      m_amplitudeEnvelope({-1, 1}, {-1, 1}) {  // identity: every level maps to itself
    for (int k = 0; k < kMaxStepItems; ++k) m_stepItems[k] = k % 2 == 0 ? 1.0f : -1.0f;
}

void KSignalGeneratorRecipe::SplitShapePosition(double position, int& index, double& fraction) noexcept {
    position = Limited(position, 0, kMaxShapePosition);
    if (position >= kMaxShapePosition) {
        index = int(kMaxShapePosition) - 1;
        fraction = 1;
        return;
    }
    index = int(position);
    fraction = position - index;
}

KString KSignalGeneratorRecipe::ModeName(Mode mode) {
    return mode == Mode::Harmonics ? KString("Harmonics") : KString("Normal");
}

void KSignalGeneratorRecipe::EnvelopeChanged(EnvelopeRole role) noexcept {
    static std::atomic<std::uint64_t> lastVersion{0};
    m_envelopeVersions[std::size_t(role)] = ++lastVersion;
}

KEnvelope& KSignalGeneratorRecipe::EnvelopeOf(EnvelopeRole role) noexcept {
    switch (role) {
        case EnvelopeRole::Transform: return m_transformEnvelope;
        case EnvelopeRole::AmplitudeTransform: return m_amplitudeEnvelope;
        case EnvelopeRole::CustomMorph: break;
    }
    return m_customEnvelope;
}

const KEnvelope& KSignalGeneratorRecipe::EnvelopeOf(EnvelopeRole role) const noexcept {
    return const_cast<KSignalGeneratorRecipe*>(this)->EnvelopeOf(role);
}

void KSignalGeneratorRecipe::Set(Control control, double value) noexcept {
    if (std::isnan(value)) return;
    const ControlInfo& info = Info(control);
    const bool heldAtZero = control == Control::CustomSampleDepth && !m_customSamplePresent;
    this->*info.field = heldAtZero ? 0.0 : Limited(value, info.minimum, info.maximum);
}

void KSignalGeneratorRecipe::SetEnvelope(EnvelopeRole role, const KEnvelope& envelope) {
    KEnvelopeComputer().Build(envelope);  // raises for an invalid point type before anything changes
    EnvelopeOf(role) = envelope;
    EnvelopeChanged(role);
}

void KSignalGeneratorRecipe::SetStepItemCount(int count) noexcept { m_stepItemCount = std::clamp(count, 1, kMaxStepItems); }

void KSignalGeneratorRecipe::SetStepItem(int index, double value) noexcept {
    if (index < 0 || index >= kMaxStepItems || std::isnan(value)) return;
    m_stepItems[std::size_t(index)] = float(Limited(value, -1, 1));
}

void KSignalGeneratorRecipe::SetStepType(int index, int type) noexcept {
    if (index < 0 || index >= kMaxStepItems) return;
    m_stepTypes[std::size_t(index)] = std::uint8_t(std::clamp(type, 0, kStepTypeCount - 1));
}

void KSignalGeneratorRecipe::SetShapeHarmonicLevel(int index, double level) noexcept {
    if (index < 0 || index >= kShapeHarmonicCount || std::isnan(level)) return;
    m_shapeHarmonicLevels[std::size_t(index)] = Limited(level, -1, 1);
}

void KSignalGeneratorRecipe::SetShapeHarmonicPhase(int index, double phase) noexcept {
    if (index < 0 || index >= kShapeHarmonicCount || std::isnan(phase)) return;
    m_shapeHarmonicPhases[std::size_t(index)] = Limited(phase, 0, 1);
}

void KSignalGeneratorRecipe::SetCustomSample(const float* samples) noexcept {
    if (!samples) return;
    std::copy(samples, samples + kTableLength, m_customSample.begin());
    m_customSamplePresent = true;
}

void KSignalGeneratorRecipe::ClearCustomSample() noexcept {
    m_customSamplePresent = false;
    m_customSampleDepth = 0;
}

void KSignalGeneratorRecipe::SetHarmonicCount(int count) noexcept { m_harmonicCount = std::clamp(count, 0, kMaxHarmonics); }

void KSignalGeneratorRecipe::SetHarmonicMagnitude(int index, double magnitude) noexcept {
    if (index < 0 || index >= kMaxHarmonics || std::isnan(magnitude)) return;
    m_magnitudes[std::size_t(index)] = float(Limited(magnitude, 0, 1));
}

void KSignalGeneratorRecipe::SetHarmonicPhase(int index, double phase) noexcept {
    if (index < 0 || index >= kMaxHarmonics || std::isnan(phase)) return;
    m_phases[std::size_t(index)] = float(Limited(phase, 0, 1));
}

void KSignalGeneratorRecipe::SetSamplePosition(double position) noexcept {
    m_samplePosition = std::isnan(position) ? 0.0 : Limited(position, 0, 1);
}
