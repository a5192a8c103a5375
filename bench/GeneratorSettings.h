#pragma once
#include <vector>

#include "signal/generator/KSignalGenerator.h"

// Every normal-mode source and operation on: the costliest ordinary rebuild.
inline void SetEverythingOn(KSignalGenerator& g, double smoothness) {
    using Control = KSignalGenerator::Control;
    g.Set(Control::ShapePosition, 6.5);
    g.Set(Control::EnvelopeDepth, 0.3);
    g.Set(Control::StepDepth, 0.5);
    for (int k = 0; k < 8; ++k) g.SetStepType(k, 3 * k + 1);
    std::vector<float> custom(8192);
    for (int j = 0; j < 8192; ++j) custom[j] = float(j % 700) / 700.0f - 0.5f;
    g.SetCustomSample(custom.data());
    g.Set(Control::CustomSampleDepth, 0.25);
    g.Set(Control::Phase, 0.1);
    g.Set(Control::Skew, 0.4);
    g.Set(Control::FullSkew, -0.3);
    g.Set(Control::Halve, 0.2);
    for (int h = 0; h < KSignalGenerator::kShapeHarmonicCount; ++h) {
        g.SetShapeHarmonicLevel(h, 0.3 - 0.1 * h);
        g.SetShapeHarmonicPhase(h, 0.1 * h);
    }
    g.SetTransformEnabled(true);
    g.SetAmplitudeTransformEnabled(true);
    g.Set(Control::Smoothness, smoothness);
}
