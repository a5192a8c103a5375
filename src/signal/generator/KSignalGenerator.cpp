#include "signal/generator/KSignalGenerator.h"
#include "signal/generator/KSignalGeneratorBackgroundBuilder.h"

#include <algorithm>
#include <cmath>

#include "foundation/text/KFormatter.h"
#include "signal/envelope/KEnvelopeComputer.h"
#include "signal/generator/KSignalGeneratorShapes.h"

namespace {

// NaN has no place in any range: it becomes the range's lower end.
double Limit(double value, double minimum, double maximum) noexcept {
    return std::isnan(value) ? minimum : std::clamp(value, minimum, maximum);
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

KSignalGenerator::KSignalGenerator() {
    KSignalGeneratorShapes::Instance();
    m_analysis = KSampleAnalyser::Analyse(nullptr, m_samplePosition);
    Reset();
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
    }
    BuildTable(true);
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
    if (!m_background && m_dirty.load(std::memory_order_acquire)) BuildTable(false);
    if (!(m_ready.load(std::memory_order_acquire) & kFresh) && !m_tableChanged.load(std::memory_order_acquire))
        return false;
    KScopedLock hold(m_lockPointer);
    AdoptTable();
    return m_tableChanged.exchange(false, std::memory_order_acq_rel);
}

void KSignalGenerator::Rebuild() { BuildTable(true); }

void KSignalGenerator::NotifyOwner() {
    if (m_owner) m_owner->OnSpecialParameterChanged();
}

double KSignalGenerator::Get(Control control) const noexcept { return this->*Info(control).field; }
double KSignalGenerator::Minimum(Control control) noexcept { return Info(control).minimum; }
double KSignalGenerator::Maximum(Control control) noexcept { return Info(control).maximum; }

void KSignalGenerator::Set(Control control, double value) {
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

const KEnvelope& KSignalGenerator::Envelope(EnvelopeRole role) const noexcept { return EnvelopeOf(role); }

void KSignalGenerator::SetEnvelope(EnvelopeRole role, const KEnvelope& envelope) {
    KEnvelopeComputer().Build(envelope);  // raises for an invalid point type before anything changes
    KEnvelope copy = envelope;
    Edit([&] {
        EnvelopeOf(role) = std::move(copy);
        EnvelopeChanged(role);
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
    if (index < 0 || index >= kMaxStepItems) return;
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
    if (index < 0 || index >= kShapeHarmonicCount) return;
    Edit([&] { m_shapeHarmonicLevels[index] = Limit(level, -1, 1); });
}

void KSignalGenerator::SetShapeHarmonicPhase(int index, double phase) {
    if (index < 0 || index >= kShapeHarmonicCount) return;
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
    if (index < 0 || index >= kMaxHarmonics) return;
    Edit([&] { m_magnitudes[index] = float(Limit(magnitude, 0, 1)); }, HarmonicsEffect::Edit);
}

void KSignalGenerator::SetHarmonicPhase(int index, double phase) {
    if (index < 0 || index >= kMaxHarmonics) return;
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
