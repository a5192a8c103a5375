#pragma once
#include <cstdint>

// Fades out the step a waveform change causes in one channel: the first
// corrected sample continues the slope of the previous block and the
// difference decays linearly over a fixed number of samples.
class KJumpSmoother {
public:
    // The fade is 44100 samples long at every sample rate.
    static constexpr std::int32_t kFadeLength = 44100;

    void Trigger() noexcept { m_trigger = true; }
    void Run(float* samples, int count) noexcept;

private:
    float StartOfFade() const noexcept;
    void Fade(float* samples, int count) noexcept;

    // The last two samples as heard (corrected) and as the effect made them.
    float m_previousButOne = 0;
    float m_previous = 0;
    float m_rawPreviousButOne = 0;
    float m_rawPrevious = 0;
    float m_offset = 0;
    float m_offsetStep = 0;
    bool m_trigger = false;
    std::int32_t m_remaining = 0;
    double m_reciprocalLength = 1.0 / kFadeLength;
    std::int32_t m_length = kFadeLength;
};
