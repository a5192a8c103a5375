#include <algorithm>
#include <cmath>
#include <limits>

#include "signal/envelope/KEnvelopeItems.h"
#include "signal/generator/KSignalGeneratorBuilder.h"
#include "signal/generator/KSignalGeneratorShapes.h"

// The table build. Mode "Normal": compose one period from the shape sources,
// reshape it by the operations in order, normalise it. Mode "Harmonics":
// synthesise it from the harmonics (KSignalGeneratorSynthesis.cpp).

namespace {

constexpr int kLength = KSignalGeneratorRecipe::kTableLength;
constexpr int kMask = kLength - 1;
constexpr double kFull = 0.99999;
constexpr double kOn = 1e-05;
constexpr double kNegligible = 1e-50;

bool IsFull(double amount) noexcept { return amount >= kFull; }
bool IsOn(double amount) noexcept { return amount >= kOn; }
bool Matters(double value) noexcept { return std::abs(value) >= kNegligible; }

// Linear interpolation at a position in samples, wrapping around the period.
double ReadWrapped(const float* source, double position) noexcept {
    const double whole = std::floor(position);
    const double fraction = position - whole;
    const auto i = static_cast<std::int64_t>(whole);
    return (1 - fraction) * source[i & kMask] + fraction * source[(i + 1) & kMask];
}

// n source samples onto m target samples, both ends kept.
void Resample(const float* source, int n, float* target, int m) noexcept {
    for (int k = 0; k < m; ++k) {
        const double position = double(k * (n - 1)) / (m - 1);  // exact at both ends
        const int i = std::min(int(position), n - 1);
        const double fraction = position - i;
        target[k] = float((1 - fraction) * source[i] + fraction * source[std::min(i + 1, n - 1)]);
    }
}

template <class Map>
void Remap(float* data, const float* old, Map position) noexcept {
    for (int j = 0; j < kLength; ++j) data[j] = float(ReadWrapped(old, position(j)));
}

// A damaged state can hold envelope levels beyond float range (MinY="-1e39"
// becomes minus infinity in the work buffer) or make NaN on the way. Beyond
// the range counts as its edge, so the waveform keeps the shape the user
// would see with a huge finite level; NaN counts as silence.
float Finite(float value) noexcept {
    return std::isnan(value) ? 0.0f : std::clamp(value, -std::numeric_limits<float>::max(),
                                                 std::numeric_limits<float>::max());
}

}  // namespace

void KSignalGeneratorBuilder::Build(KSignalGeneratorTable& out) {
    UpdateComputers();
    float* table = out.samples.data();
    if (m_mode == Mode::Normal) {
        int index;
        double fraction;
        SplitShapePosition(m_shapePosition, index, fraction);
        out.morphFraction = fraction;
        ComposeWaveform(index, fraction);
        ApplyPhase();
        ApplySkew();
        ApplyFullSkew();
        ApplyHalve();
        ApplyShapeHarmonics();
        if (m_transformEnable) ApplyTransform();
        if (Matters(m_smoothness)) m_smoother.Smooth(m_w.data(), m_t.data(), m_smoothness * 256, m_fft);
        Normalise(table);
        if (m_amplitudeTransformEnable) ApplyAmplitudeTransform(table);
    } else if (m_mode == Mode::Harmonics) {
        SynthesiseHarmonics(table);
    }
    table[kLength] = table[0];
    out.ratioA = m_rateB / m_rateA;
    out.periodB = m_rateA / m_rateB * kLength;
}

void KSignalGeneratorBuilder::UpdateComputers() {
    for (int role = 0; role < kEnvelopeRoles; ++role) {
        if (m_computersBuilt && m_computerVersions[role] == m_envelopeVersions[role]) continue;
        ComputerOf(EnvelopeRole(role)).Build(EnvelopeOf(EnvelopeRole(role)));
        m_computerVersions[role] = m_envelopeVersions[role];
    }
    m_computersBuilt = true;
}

KEnvelopeComputer& KSignalGeneratorBuilder::ComputerOf(EnvelopeRole role) noexcept {
    switch (role) {
        case EnvelopeRole::Transform: return m_transformComputer;
        case EnvelopeRole::AmplitudeTransform: return m_amplitudeComputer;
        case EnvelopeRole::CustomMorph: break;
    }
    return m_customComputer;
}

void KSignalGeneratorBuilder::ComposeWaveform(int index, double f) {
    const double e = m_envelopeDepth;
    const double s = m_stepDepth;
    const double c = m_customSamplePresent ? m_customSampleDepth : 0.0;
    float* w = m_w.data();
    float* t = m_t.data();
    const float* u = m_u.data();
    const float* custom = m_customSample.data();
    const auto& shapes = KSignalGeneratorShapes::Instance();
    const auto morph = [&] {
        const float* a = shapes.Basic(index).data();
        const float* b = shapes.Basic(index + 1).data();
        for (int j = 0; j < kLength; ++j) w[j] = float((1 - f) * a[j] + f * b[j]);
    };
    const auto sampleCustomMorph = [this](float* out) { m_customComputer.Fill(out, 0, 1.0 / kLength, kLength); };
    const auto blend = [w](double keep, const float* other, double amount) {
        for (int j = 0; j < kLength; ++j) w[j] = float(keep * w[j] + amount * other[j]);
    };

    if (IsFull(c)) {
        std::copy(custom, custom + kLength, w);
        return;
    }
    const bool stepsOnly = IsFull(s) && !IsOn(c);
    if (IsOn(s)) RenderSteps(stepsOnly ? w : m_u.data());
    if (stepsOnly) return;
    if (IsFull(e) && !IsOn(s) && !IsOn(c)) return sampleCustomMorph(w);
    if (!IsOn(e) && !IsOn(s) && !IsOn(c)) return morph();
    if (IsFull(e) && IsOn(s) && !IsOn(c)) {
        // The step render already carries its factor s.
        sampleCustomMorph(t);
        for (int j = 0; j < kLength; ++j) w[j] = float(u[j] + (1 - s) * t[j]);
        return;
    }
    if (!IsFull(e) && !IsFull(s)) morph();
    else m_w.fill(0.0f);
    if (IsOn(e) && !IsFull(s)) {
        sampleCustomMorph(t);
        blend(1 - e, t, e);
    }
    if (IsOn(s)) blend(1 - s, u, s);
    if (IsOn(c)) blend(1 - c, custom, c);
}

void KSignalGeneratorBuilder::RenderSteps(float* out) const noexcept {
    const auto& shapes = KSignalGeneratorShapes::Instance();
    const int count = std::clamp(int(m_stepItemCount), 1, kMaxStepItems);
    int begin = 0;
    for (int k = 0; k < count; ++k) {
        const int end = int(std::int64_t(kLength) * (k + 1) / count);
        const int n = end - begin;
        const double level = m_stepItems[k] * m_stepDepth;
        float* segment = out + begin;
        const int type = std::min(int(m_stepTypes[k]), kStepTypeCount - 1);
        if (type == 0) {
            std::fill(segment, segment + n, float(level));
        } else {
            const float* shape = shapes.Step(type).data();
            const auto at = [&](int j) { return double(shape[(j * KSignalGeneratorShapes::kStepLength) / n]); };
            // From the lowest level the shape rises from -1 rather than from 0.
            if (m_stepBaseLowest) {
                for (int j = 0; j < n; ++j) segment[j] = float(at(j) * (level + 1) - 1);
            } else {
                for (int j = 0; j < n; ++j) segment[j] = float(at(j) * level);
            }
        }
        begin = end;
    }
}

void KSignalGeneratorBuilder::ApplyPhase() noexcept {
    if (!Matters(m_phase)) return;
    auto delay = static_cast<std::int64_t>(std::floor(m_phase * kLength + 0.5));
    if (delay < 0) delay += kLength;
    if (delay < 1 || delay > kLength - 1) return;
    std::rotate(m_w.begin(), m_w.begin() + (kLength - delay), m_w.end());
}

void KSignalGeneratorBuilder::ApplySkew() noexcept {
    if (!Matters(m_skew)) return;
    m_t = m_w;
    // A cubic time map from 0 to 1 with slope g at both ends.
    const double g = std::pow(3.0, m_skew);
    Remap(m_w.data(), m_t.data(), [g](int j) {
        const double x = j / double(kLength - 1);
        return (((2 * g - 2) * x + (3 - 3 * g)) * x + g) * x * (kLength - 1);
    });
}

void KSignalGeneratorBuilder::ApplyFullSkew() noexcept {
    if (!Matters(m_fullSkew)) return;
    m_t = m_w;
    const double a = std::pow(10.0, std::abs(m_fullSkew));
    if (m_fullSkew <= 0) {
        Remap(m_w.data(), m_t.data(),
              [a](int j) { return (1 - std::pow(1 - j / double(kLength - 1), a)) * (kLength - 1); });
    } else {
        Remap(m_w.data(), m_t.data(), [a](int j) { return std::pow(j / double(kLength - 1), a) * (kLength - 1); });
    }
}

void KSignalGeneratorBuilder::ApplyHalve() noexcept {
    if (!Matters(m_halve)) return;
    const int half = kLength / 2;
    const int split = half + int(m_halve * (half - 2));
    if (split == half) return;
    m_t = m_w;
    Resample(m_t.data(), half, m_w.data(), split);
    Resample(m_t.data() + half, half, m_w.data() + split, kLength - split);
}

void KSignalGeneratorBuilder::ApplyShapeHarmonics() noexcept {
    if (std::none_of(m_shapeHarmonicLevels.begin(), m_shapeHarmonicLevels.end(), Matters)) return;
    m_t = m_w;
    const float* t = m_t.data();
    for (int h = 0; h < kShapeHarmonicCount; ++h) {
        const double level = m_shapeHarmonicLevels[h];
        if (level == 0) continue;
        const int multiple = h + 2;
        const double phase = std::fmod(m_shapeHarmonicPhases[h], 1.0);
        if (phase != 0) {
            const double start = phase * kLength;
            const int offset = int(start);
            const double g = start - offset;
            for (int j = 0; j < kLength; ++j) {
                const int i = offset + multiple * j;
                m_w[j] = float(m_w[j] + level * ((1 - g) * t[i & kMask] + g * t[(i + 1) & kMask]));
            }
        } else {
            for (int j = 0; j < kLength; ++j) m_w[j] = float(m_w[j] + level * t[(multiple * j) & kMask]);
        }
    }
}

void KSignalGeneratorBuilder::ApplyTransform() {
    m_t = m_w;
    m_transformComputer.Fill(m_u.data(), 0, 1.0 / (kLength - 1), kLength);
    const float* u = m_u.data();
    Remap(m_w.data(), m_t.data(), [u](int j) { return double(u[j]) * kLength; });
}

void KSignalGeneratorBuilder::Normalise(float* table) const noexcept {
    float peak = 0.1f;
    for (float value : m_w) peak = std::max(peak, std::abs(Finite(value)));
    for (int j = 0; j < kLength; ++j) table[j] = Finite(m_w[j]) / peak;
}

// Table values change slowly from one sample to the next, so the item
// covering the next value is searched from the previous one.
void KSignalGeneratorBuilder::ApplyAmplitudeTransform(float* table) const {
    const KEnvelopeComputer& curve = m_amplitudeComputer;
    const int last = curve.ItemCount() - 1;
    int index = 0;
    for (int j = 0; j < kLength; ++j) {
        const double y = table[j];
        while (index > 0 && y < curve.ItemAt(index - 1).End()) --index;
        while (index < last && y >= curve.ItemAt(index).End()) ++index;
        // The table is a waveform of -1 to 1; a damaged curve must not
        // take it beyond (or to NaN).
        const float value = float(curve.ItemAt(index).Evaluate(y));
        table[j] = std::isnan(value) ? 0.0f : std::clamp(value, -1.0f, 1.0f);
    }
}
