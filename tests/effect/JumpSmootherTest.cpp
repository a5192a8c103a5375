// The fade that hides the step of a waveform change, on its own: one fade
// continues what was heard, and fades that follow each other faster than
// they end stay within what the signal itself could reach.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "effect/KJumpSmoother.h"

namespace {

std::vector<float> Smooth(KJumpSmoother& smoother, std::vector<float> block) {
    smoother.Run(block.data(), int(block.size()));
    return block;
}

// A waveform change that comes after the last fade has ended is faded
// exactly as the first change of a fresh smoother, even from the steepest
// history the signal allows: the last two samples at +1 and -1 before a
// block at -1 ask for a start at 2 * 1 - (-1) = 3, a jump of 3 - (-1) = 4.
TEST(JumpSmoother, AFadeAfterAnEndedOneContinuesTheSlopeAsTheFirstDoes) {
    KJumpSmoother fresh, used;
    used.Trigger();
    Smooth(used, std::vector<float>(KJumpSmoother::kFadeLength, 0.5f));  // 44100 samples: the fade ends
    Smooth(used, std::vector<float>(100, 0.25f));
    for (KJumpSmoother* smoother : {&fresh, &used}) Smooth(*smoother, {-1.0f, 1.0f});

    fresh.Trigger();
    used.Trigger();
    const std::vector<float> expected = Smooth(fresh, std::vector<float>(64, -1.0f));
    EXPECT_EQ(Smooth(used, std::vector<float>(64, -1.0f)), expected);
    EXPECT_NEAR(expected[0], 3 - 4.0 / 44100, 1e-6);
}

// A change during a running fade starts the new fade from the continuation
// of what is heard. A block of 1 after silence with a change: the fade of
// -1 leaves the heard samples at 1/44100, 2/44100, ..., 4/44100; the next
// change continues them at 5/44100 and fades the jump to a block of 0.5
// from there, one 44100th at a time (within float rounding near 1).
TEST(JumpSmoother, AChangeDuringAFadeStartsFromWhatIsHeard) {
    KJumpSmoother smoother;
    Smooth(smoother, {0.0f, 0.0f});
    smoother.Trigger();
    const std::vector<float> heard = Smooth(smoother, {1.0f, 1.0f, 1.0f, 1.0f});
    EXPECT_NEAR(heard[3], 4.0 / 44100, 1e-6);
    smoother.Trigger();
    const std::vector<float> next = Smooth(smoother, {0.5f, 0.5f});
    const double start = 5.0 / 44100;
    const double jump = start - 0.5;
    EXPECT_NEAR(next[0], start - jump / 44100, 1e-6);
    EXPECT_NEAR(next[1], start - 2 * jump / 44100, 1e-6);
}

// A change on every block of 4, each block a ramp between two random levels
// within -1..1. Each fade starts from the continuation of what is heard,
// and within a block what is heard moves as the ramp does; were nothing to
// bound the start, the heard level would wander off like a random walk
// (far beyond 5 after 20000 changes). One fade adds at most 4 times the
// signal's peak (a start at most 3 times the peak, minus the new sample),
// so what is heard stays within 5 times the peak.
TEST(JumpSmoother, ChangesFasterThanTheFadeStayWithinFiveTimesThePeak) {
    KJumpSmoother smoother;
    std::uint32_t state = 1;
    const auto level = [&] {
        state = state * 214013u + 2531011u;
        return float((state >> 16) & 0x7FFF) / 16383.5f - 1.0f;
    };
    float loudest = 0;
    for (int block = 0; block < 20000; ++block) {
        const float from = level(), to = level();
        std::vector<float> ramp(4);
        for (int s = 0; s < 4; ++s) ramp[std::size_t(s)] = from + (to - from) * float(s) / 3;
        smoother.Trigger();
        for (float sample : Smooth(smoother, ramp)) loudest = std::max(loudest, std::fabs(sample));
    }
    EXPECT_LE(loudest, 5.0f);
}

}  // namespace
