#pragma once
#include <array>

#include "foundation/text/KString.h"

// The built-in waveforms a signal generator morphs between and the shapes its
// step sequencer draws each step with. Both sets are process-wide constant
// tables, computed once by the first caller (thread-safe).
class KSignalGeneratorShapes {
public:
    static constexpr int kBasicCount = 16;
    static constexpr int kBasicLength = 8192;
    static constexpr int kStepCount = 37;
    static constexpr int kStepLength = 1024;

    using BasicTable = std::array<float, kBasicLength>;
    using StepTable = std::array<float, kStepLength>;

    static const KSignalGeneratorShapes& Instance();

    const BasicTable& Basic(int index) const noexcept { return m_basic[index]; }
    const StepTable& Step(int index) const noexcept { return m_step[index]; }

    static KString BasicName(int index);
    static KString StepName(int index);

private:
    KSignalGeneratorShapes();

    std::array<BasicTable, kBasicCount> m_basic;
    std::array<StepTable, kStepCount> m_step;
};
