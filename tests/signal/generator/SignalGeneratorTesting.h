#pragma once
#include <algorithm>
#include <cmath>
#include <memory>

#include "signal/generator/KSignalGenerator.h"
#include "signal/generator/KSignalGeneratorShapes.h"

// Generators are large (several tables of 8192 samples): tests keep them on the heap.
inline std::unique_ptr<KSignalGenerator> NewGenerator() { return std::make_unique<KSignalGenerator>(); }

inline const KSignalGeneratorShapes::BasicTable& BasicShape(int index) {
    return KSignalGeneratorShapes::Instance().Basic(index);
}

// Linear interpolation of a basic shape at a position in samples (wrapping).
inline double ShapeAt(int index, double position) {
    const auto& t = BasicShape(index);
    const int i = int(std::floor(position));
    const double f = position - i;
    return (1 - f) * t[i & 8191] + f * t[(i + 1) & 8191];
}

inline double TablePeak(const KSignalGenerator& generator) {
    double peak = 0;
    for (int j = 0; j < 8192; ++j) peak = std::max(peak, double(std::abs(generator.Table()[j])));
    return peak;
}
