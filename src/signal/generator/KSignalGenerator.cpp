#include "signal/generator/KSignalGenerator.h"
#include "signal/generator/KSignalGeneratorBackgroundBuilder.h"

#include <algorithm>
#include <cmath>

#include "foundation/text/KFormatter.h"
#include "signal/envelope/KEnvelopeComputer.h"
#include "signal/generator/KSignalGeneratorShapes.h"

KSignalGenerator::KSignalGenerator() {
    KSignalGeneratorShapes::Instance();
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

// Each setter runs the settings' own under the lock; a NaN leaves the
// setting as it is and starts no rebuild.
void KSignalGenerator::Set(Control control, double value) {
    if (std::isnan(value)) return;
    const HarmonicsEffect effect = Info(control).regeneratesHarmonics ? HarmonicsEffect::Regenerate : HarmonicsEffect::Keep;
    Edit([&] { KSignalGeneratorRecipe::Set(control, value); }, effect);
}

void KSignalGenerator::SetMode(Mode mode) {
    Edit([&] { KSignalGeneratorRecipe::SetMode(mode); });
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
    // Built here to raise for an invalid point type before anything changes,
    // and outside the lock, which the audio thread shares.
    KEnvelopeComputer().Build(envelope);
    KEnvelope copy = envelope;
    Edit([&] {
        EnvelopeOf(role) = std::move(copy);
        EnvelopeChanged(role);
    });
}

void KSignalGenerator::SetTransformEnabled(bool enable) {
    Edit([&] { KSignalGeneratorRecipe::SetTransformEnabled(enable); });
}

void KSignalGenerator::SetAmplitudeTransformEnabled(bool enable) {
    Edit([&] { KSignalGeneratorRecipe::SetAmplitudeTransformEnabled(enable); });
}

void KSignalGenerator::SetStepItemCount(int count) {
    Edit([&] { KSignalGeneratorRecipe::SetStepItemCount(count); });
}

void KSignalGenerator::SetStepItem(int index, double value) {
    if (index < 0 || index >= kMaxStepItems || std::isnan(value)) return;
    Edit([&] { KSignalGeneratorRecipe::SetStepItem(index, value); });
}

void KSignalGenerator::SetStepType(int index, int type) {
    if (index < 0 || index >= kMaxStepItems) return;
    Edit([&] { KSignalGeneratorRecipe::SetStepType(index, type); });
}

void KSignalGenerator::SetStepBaseLowest(bool lowest) {
    Edit([&] { KSignalGeneratorRecipe::SetStepBaseLowest(lowest); });
}

void KSignalGenerator::SetShapeHarmonicLevel(int index, double level) {
    if (index < 0 || index >= kShapeHarmonicCount || std::isnan(level)) return;
    Edit([&] { KSignalGeneratorRecipe::SetShapeHarmonicLevel(index, level); });
}

void KSignalGenerator::SetShapeHarmonicPhase(int index, double phase) {
    if (index < 0 || index >= kShapeHarmonicCount || std::isnan(phase)) return;
    Edit([&] { KSignalGeneratorRecipe::SetShapeHarmonicPhase(index, phase); });
}

void KSignalGenerator::SetCustomSample(const float* samples) {
    if (!samples) return;
    Edit([&] { KSignalGeneratorRecipe::SetCustomSample(samples); });
}

void KSignalGenerator::ClearCustomSample() {
    Edit([&] { KSignalGeneratorRecipe::ClearCustomSample(); });
}

void KSignalGenerator::SetHarmonicCount(int count) {
    Edit([&] { KSignalGeneratorRecipe::SetHarmonicCount(count); });
}

void KSignalGenerator::SetHarmonicMagnitude(int index, double magnitude) {
    if (index < 0 || index >= kMaxHarmonics || std::isnan(magnitude)) return;
    Edit([&] { KSignalGeneratorRecipe::SetHarmonicMagnitude(index, magnitude); }, HarmonicsEffect::Edit);
}

void KSignalGenerator::SetHarmonicPhase(int index, double phase) {
    if (index < 0 || index >= kMaxHarmonics || std::isnan(phase)) return;
    Edit([&] { KSignalGeneratorRecipe::SetHarmonicPhase(index, phase); }, HarmonicsEffect::Edit);
}

// A new seed is only useful with the harmonics drawn from it.
void KSignalGenerator::SetSeed(std::uint64_t seed) {
    Edit([&] { KSignalGeneratorRecipe::SetSeed(seed); }, HarmonicsEffect::Regenerate);
}

void KSignalGenerator::SetRates(double a0, double b0) {
    if (!(a0 > 0) || !(b0 > 0) || !std::isfinite(a0) || !std::isfinite(b0)) return;
    Edit([&] {
        m_rateA = a0;
        m_rateB = b0;
    });
}
