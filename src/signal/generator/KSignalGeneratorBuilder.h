#pragma once
#include <array>

#include "signal/analysis/KRealFft.h"
#include "signal/envelope/KEnvelopeComputer.h"
#include "signal/generator/KSignalGeneratorRecipe.h"
#include "signal/generator/KSignalGeneratorSmoother.h"

// One built waveform table, with what the editor shows beside it.
struct KSignalGeneratorTable {
    static constexpr int kLength = KSignalGeneratorRecipe::kTableLength;

    std::array<float, kLength + 1> samples{};  // the last entry repeats the first
    double morphFraction = 0;                  // of the shape position it was built from
    double ratioA = 1;
    double periodB = kLength;
};

// Builds waveform tables from a copy of a generator's recipe. The copy is
// quick to take (the generator takes it under its lock); building takes long
// and runs outside the lock. Building allocates nothing unless an envelope
// changed since the previous build.
class KSignalGeneratorBuilder : private KSignalGeneratorRecipe {
public:
    KSignalGeneratorBuilder() = default;
    KSignalGeneratorBuilder(const KSignalGeneratorBuilder&) = delete;
    KSignalGeneratorBuilder& operator=(const KSignalGeneratorBuilder&) = delete;

    void TakeRecipe(const KSignalGeneratorRecipe& recipe) { KSignalGeneratorRecipe::operator=(recipe); }
    void Build(KSignalGeneratorTable& table);

private:
    void UpdateComputers();
    KEnvelopeComputer& ComputerOf(EnvelopeRole role) noexcept;

    // Mode "Normal", in build order.
    void ComposeWaveform(int shapeIndex, double fraction);
    void RenderSteps(float* out) const noexcept;
    void ApplyPhase() noexcept;
    void ApplySkew() noexcept;
    void ApplyFullSkew() noexcept;
    void ApplyHalve() noexcept;
    void ApplyShapeHarmonics() noexcept;
    void ApplyTransform();
    void Normalise(float* table) const noexcept;
    void ApplyAmplitudeTransform(float* table) const;
    // Mode "Harmonics".
    void SynthesiseHarmonics(float* table) noexcept;

    Buffer m_w{};
    Buffer m_t{};
    Buffer m_u{};
    KSignalGeneratorSmoother m_smoother;
    KRealFft m_fft{kTableLength};
    // One evaluator per envelope, rebuilt only when its envelope changed:
    // building allocates, filling does not.
    KEnvelopeComputer m_customComputer;
    KEnvelopeComputer m_transformComputer;
    KEnvelopeComputer m_amplitudeComputer;
    std::array<std::uint64_t, kEnvelopeRoles> m_computerVersions{};
    bool m_computersBuilt = false;
};
