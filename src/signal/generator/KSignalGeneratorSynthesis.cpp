#include <algorithm>
#include <cmath>
#include <numbers>

#include "signal/generator/KSignalGenerator.h"
#include "signal/generator/KSignalGeneratorBuilder.h"
#include "signal/generator/KSignalGeneratorHarmonics.h"

// Mode "Harmonics": the harmonic magnitudes and phases, drawn from the
// generator controls and an analysed sample, become the table through one
// inverse FFT.

void KSignalGenerator::RegenerateHarmonics() noexcept {
    namespace H = KSignalGeneratorHarmonics;
    H::RandomState random(m_seed);
    double generated = 1;
    if (m_analysis.analysed) {
        m_magnitudes = m_analysis.magnitudes;
        m_phases = m_analysis.phases;
        generated = 1 - m_sampleRatio;
    }
    if (generated != 0) {
        const H::Recipe recipe{m_harmonicity, m_slope, m_fullness, m_fundamentalMinimum};
        H::Generate(recipe, generated, m_magnitudes.data(), m_phases.data(), random);
    }
    H::ScaleToPeak(m_magnitudes.data());
    const H::PostProcessing post{m_sharpen, m_noise, m_clean, m_compress, m_harmonize};
    H::PostProcess(post, m_magnitudes.data(), random);
}

// The packed spectrum holds harmonic k in bin k + 1 with the amplitude
// magnitude², so the inverse transform gives
// sum of magnitude_k² cos(2 pi (k + 1) j / 8192 - 2 pi phase_k).
void KSignalGeneratorBuilder::SynthesiseHarmonics(float* table) noexcept {
    std::fill(table, table + kTableLength, 0.0f);
    const int count = std::clamp(int(m_harmonicCount), 0, kMaxHarmonics);
    for (int k = 0; k < count; ++k) {
        const double amplitude = double(m_magnitudes[k]) * m_magnitudes[k];
        const double angle = 2 * std::numbers::pi * m_phases[k];
        table[2 * k + 2] = float(amplitude * std::cos(angle));
        table[2 * k + 3] = float(-amplitude * std::sin(angle));
    }
    m_fft.Inverse(table);
    float peak = 0;
    for (int j = 0; j < kTableLength; ++j) peak = std::max(peak, std::abs(table[j]));
    if (peak <= 1e-10f) return;
    for (int j = 0; j < kTableLength; ++j) table[j] /= peak;
}
