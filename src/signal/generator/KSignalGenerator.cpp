#include "signal/generator/KSignalGenerator.h"

#include <algorithm>
#include <cmath>

#include "foundation/text/KFormatter.h"
#include "signal/generator/KSignalGeneratorShapes.h"

namespace {

double Limit(double value, double minimum, double maximum) noexcept { return std::clamp(value, minimum, maximum); }

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

const KSignalGenerator::ControlInfo& KSignalGenerator::Info(Control control) noexcept {
    using G = KSignalGenerator;
    static const ControlInfo infos[kControlCount] = {
        {&G::m_shapePosition, 0, kMaxShapePosition, false},
        {&G::m_envelopeDepth, 0, 1, false},
        {&G::m_stepDepth, 0, 1, false},
        {&G::m_customSampleDepth, 0, 1, false},
        {&G::m_smoothness, 0, 1, false},
        {&G::m_phase, -1, 1, false},
        {&G::m_skew, -1, 1, false},
        {&G::m_fullSkew, -1, 1, false},
        {&G::m_halve, -1, 1, false},
        {&G::m_harmonicity, -1, 1, true},
        {&G::m_slope, -1, 1, true},
        {&G::m_fullness, 0, 1, true},
        {&G::m_fundamentalMinimum, 0, 1, true},
        {&G::m_sampleRatio, 0, 1, true},
        {&G::m_sharpen, -1, 1, true},
        {&G::m_noise, 0, 1, true},
        {&G::m_clean, 0, 1, true},
        {&G::m_compress, 0, 1, true},
        {&G::m_harmonize, 0, 1, true},
    };
    return infos[int(control)];
}

KSignalGenerator::KSignalGenerator()
    : m_customEnvelope(DefaultCustomMorphEnvelope()),
      m_transformEnvelope({0, 1}, {-1, 1}, 0, 1),  // identity: every phase reads itself
      m_amplitudeEnvelope({-1, 1}, {-1, 1}) {  // identity: every level maps to itself
    KSignalGeneratorShapes::Instance();
    for (int k = 0; k < kMaxStepItems; ++k) m_stepItems[k] = k % 2 == 0 ? 1.0f : -1.0f;
    m_customComputer.Build(m_customEnvelope);
    m_transformComputer.Build(m_transformEnvelope);
    m_amplitudeComputer.Build(m_amplitudeEnvelope);
    m_analysis = KSampleAnalyser::Analyse(nullptr, m_samplePosition);
    Reset();
    m_tableChanged.store(false, std::memory_order_relaxed);  // the first table replaces nothing
}

void KSignalGenerator::SetDefaults() {
    m_mode = Mode::Normal;
    m_envelopeDepth = 0;
    m_customSamplePresent = false;
    m_customSample.fill(0.0f);
    m_customSampleDepth = 0;
    m_smoothness = 0;
    m_stepBaseLowest = true;
    m_stepDepth = 0;
    m_phase = m_skew = m_fullSkew = m_halve = 0;
    m_shapeHarmonicLevels.fill(0);
    m_shapeHarmonicPhases.fill(0);
    m_transformEnable = m_amplitudeTransformEnable = false;
    m_harmonicCount = 32;
    m_magnitudes.fill(0.0f);
    m_magnitudes[0] = 1.0f;
    m_phases.fill(0.0f);
    m_harmonicity = 0.5;
    m_slope = -0.5;
    m_fullness = 0.5;
    m_fundamentalMinimum = 0.75;
    m_sampleRatio = 1;
    m_samplePosition = 0.2;
    m_sharpen = m_noise = m_clean = m_compress = m_harmonize = 0;
}

void KSignalGenerator::Reset() {
    {
        KScopedLock hold(m_lockPointer);
        SetDefaults();
        m_seed = NextSeed();
        m_analyse = false;
        m_dirty.store(false, std::memory_order_release);
        RebuildLocked();
    }
    NotifyOwner();
}

std::uint64_t KSignalGenerator::NextSeed() noexcept {
    static std::atomic<std::uint64_t> state{0};
    std::uint64_t current = state.load(std::memory_order_relaxed);
    std::uint64_t next;
    do {
        next = current * 214013u + 2531011u;
    } while (!state.compare_exchange_weak(current, next, std::memory_order_relaxed));
    return next;
}

bool KSignalGenerator::UpdateIfChanged() {
    if (m_dirty.load(std::memory_order_acquire)) {
        KScopedLock hold(m_lockPointer);
        m_dirty.store(false, std::memory_order_release);
        if (m_analyse) {
            m_analyse = false;
            RegenerateHarmonics();
        }
        RebuildLocked();
    }
    return m_tableChanged.exchange(false, std::memory_order_acq_rel);
}

void KSignalGenerator::Rebuild() {
    KScopedLock hold(m_lockPointer);
    RebuildLocked();
}

void KSignalGenerator::FinishRebuild() {
    m_table[kTableLength] = m_table[0];
    m_ratioA = m_rateB / m_rateA;
    m_periodB = m_rateA / m_rateB * kTableLength;
    m_rebuildPending.store(false, std::memory_order_release);
    m_tableChanged.store(true, std::memory_order_release);
}

void KSignalGenerator::NotifyOwner() {
    if (m_owner) m_owner->OnSpecialParameterChanged();
}

double KSignalGenerator::Get(Control control) const noexcept { return this->*Info(control).field; }
double KSignalGenerator::Minimum(Control control) noexcept { return Info(control).minimum; }
double KSignalGenerator::Maximum(Control control) noexcept { return Info(control).maximum; }

// A NaN is no value: the setting stays as it is.
void KSignalGenerator::Set(Control control, double value) {
    if (std::isnan(value)) return;
    const ControlInfo& info = Info(control);
    Edit(
        [&] {
            const bool heldAtZero = control == Control::CustomSampleDepth && !m_customSamplePresent;
            this->*info.field = heldAtZero ? 0.0 : Limit(value, info.minimum, info.maximum);
        },
        info.regeneratesHarmonics ? HarmonicsEffect::Regenerate : HarmonicsEffect::Keep);
}

void KSignalGenerator::SetMode(Mode mode) {
    Edit([&] { m_mode = mode; });
}

KString KSignalGenerator::ModeName(Mode mode) {
    return mode == Mode::Harmonics ? KString("Harmonics") : KString("Normal");
}

void KSignalGenerator::SplitShapePosition(double position, int& index, double& fraction) noexcept {
    position = Limit(position, 0, kMaxShapePosition);
    if (position >= kMaxShapePosition) {
        index = int(kMaxShapePosition) - 1;
        fraction = 1;
        return;
    }
    index = int(position);
    fraction = position - index;
}

KString KSignalGenerator::ShapeText(double position) {
    int index;
    double fraction;
    SplitShapePosition(position, index, fraction);
    const int percent = int(std::floor(fraction * 100 + 0.5));
    if (percent == 0) return KSignalGeneratorShapes::BasicName(index);
    if (percent == 100) return KSignalGeneratorShapes::BasicName(index + 1);
    return KFormatter("{0}% {1}, {2}% {3}") << (100 - percent) << KSignalGeneratorShapes::BasicName(index) << percent
                                            << KSignalGeneratorShapes::BasicName(index + 1);
}

KEnvelope& KSignalGenerator::EnvelopeOf(EnvelopeRole role) noexcept {
    switch (role) {
        case EnvelopeRole::Transform: return m_transformEnvelope;
        case EnvelopeRole::AmplitudeTransform: return m_amplitudeEnvelope;
        case EnvelopeRole::CustomMorph: break;
    }
    return m_customEnvelope;
}

KEnvelopeComputer& KSignalGenerator::ComputerOf(EnvelopeRole role) noexcept {
    switch (role) {
        case EnvelopeRole::Transform: return m_transformComputer;
        case EnvelopeRole::AmplitudeTransform: return m_amplitudeComputer;
        case EnvelopeRole::CustomMorph: break;
    }
    return m_customComputer;
}

const KEnvelope& KSignalGenerator::Envelope(EnvelopeRole role) const noexcept {
    return const_cast<KSignalGenerator*>(this)->EnvelopeOf(role);
}

void KSignalGenerator::SetEnvelope(EnvelopeRole role, const KEnvelope& envelope) {
    KEnvelope copy = envelope;
    Edit([&] {
        ComputerOf(role).Build(copy);  // raises for an invalid point type before anything changes
        EnvelopeOf(role) = std::move(copy);
    });
}

void KSignalGenerator::SetTransformEnabled(bool enable) {
    Edit([&] { m_transformEnable = enable; });
}

void KSignalGenerator::SetAmplitudeTransformEnabled(bool enable) {
    Edit([&] { m_amplitudeTransformEnable = enable; });
}

void KSignalGenerator::SetStepItemCount(int count) {
    Edit([&] { m_stepItemCount = std::clamp(count, 1, kMaxStepItems); });
}

void KSignalGenerator::SetStepItem(int index, double value) {
    if (index < 0 || index >= kMaxStepItems || std::isnan(value)) return;
    Edit([&] { m_stepItems[index] = float(Limit(value, -1, 1)); });
}

void KSignalGenerator::SetStepType(int index, int type) {
    if (index < 0 || index >= kMaxStepItems) return;
    Edit([&] { m_stepTypes[index] = std::uint8_t(std::clamp(type, 0, kStepTypeCount - 1)); });
}

void KSignalGenerator::SetStepBaseLowest(bool lowest) {
    Edit([&] { m_stepBaseLowest = lowest; });
}

void KSignalGenerator::SetShapeHarmonicLevel(int index, double level) {
    if (index < 0 || index >= kShapeHarmonicCount || std::isnan(level)) return;
    Edit([&] { m_shapeHarmonicLevels[index] = Limit(level, -1, 1); });
}

void KSignalGenerator::SetShapeHarmonicPhase(int index, double phase) {
    if (index < 0 || index >= kShapeHarmonicCount || std::isnan(phase)) return;
    Edit([&] { m_shapeHarmonicPhases[index] = Limit(phase, 0, 1); });
}

void KSignalGenerator::SetCustomSample(const float* samples) {
    if (!samples) return;
    Edit([&] {
        std::copy(samples, samples + kTableLength, m_customSample.begin());
        m_customSamplePresent = true;
    });
}

void KSignalGenerator::ClearCustomSample() {
    Edit([&] {
        m_customSamplePresent = false;
        m_customSampleDepth = 0;
    });
}

void KSignalGenerator::SetHarmonicCount(int count) {
    Edit([&] { m_harmonicCount = std::clamp(count, 0, kMaxHarmonics); });
}

void KSignalGenerator::SetHarmonicMagnitude(int index, double magnitude) {
    if (index < 0 || index >= kMaxHarmonics || std::isnan(magnitude)) return;
    Edit([&] { m_magnitudes[index] = float(Limit(magnitude, 0, 1)); }, HarmonicsEffect::Edit);
}

void KSignalGenerator::SetHarmonicPhase(int index, double phase) {
    if (index < 0 || index >= kMaxHarmonics || std::isnan(phase)) return;
    Edit([&] { m_phases[index] = float(Limit(phase, 0, 1)); }, HarmonicsEffect::Edit);
}

// A new seed is only useful with the harmonics drawn from it.
void KSignalGenerator::SetSeed(std::uint64_t seed) {
    Edit([&] { m_seed = seed; }, HarmonicsEffect::Regenerate);
}

void KSignalGenerator::SetRates(double a0, double b0) {
    if (!(a0 > 0) || !(b0 > 0) || !std::isfinite(a0) || !std::isfinite(b0)) return;
    Edit([&] {
        m_rateA = a0;
        m_rateB = b0;
    });
}
