#include <gtest/gtest.h>

#include "KTortureFailure.h"
#include "KTortureOptions.h"
#include "KTortureRandom.h"

namespace {

TEST(TortureRandom, EachStepDrawsTheSameWhateverRanBefore) {
    KTortureRandom first = KTortureRandom::ForStep(42, 1000);
    KTortureRandom wasted = KTortureRandom::ForStep(42, 999);
    for (int i = 0; i < 100; ++i) wasted.Next();
    KTortureRandom again = KTortureRandom::ForStep(42, 1000);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(first.Next(), again.Next());
}

TEST(TortureRandom, StepsAndSeedsDrawDifferently) {
    EXPECT_NE(KTortureRandom::ForStep(1, 5).Next(), KTortureRandom::ForStep(1, 6).Next());
    EXPECT_NE(KTortureRandom::ForStep(1, 5).Next(), KTortureRandom::ForStep(2, 5).Next());
}

TEST(TortureRandom, RangesHoldTheirEnds) {
    KTortureRandom random(3);
    bool sawLowest = false, sawHighest = false;
    for (int i = 0; i < 2000; ++i) {
        const int value = random.Between(-2, 2);
        ASSERT_GE(value, -2);
        ASSERT_LE(value, 2);
        sawLowest |= value == -2;
        sawHighest |= value == 2;
        const double unit = random.Unit();
        ASSERT_GE(unit, 0.0);
        ASSERT_LT(unit, 1.0);
    }
    EXPECT_TRUE(sawLowest && sawHighest);
}

TEST(TortureOptions, UntilRunsTheNamedStepToo) {
    std::string error;
    const auto options = ParseOptions({"--seed", "17", "--until", "250", "--instances", "2"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->seed, 17u);
    // Steps 0 to 250.
    EXPECT_EQ(options->steps, 251u);
    EXPECT_EQ(options->instances, 2);
}

TEST(TortureOptions, RefusesWhatItCannotRead) {
    std::string error;
    EXPECT_FALSE(ParseOptions({"--seed", "x1"}, error));
    EXPECT_EQ(error, "bad value for --seed: x1");
    EXPECT_FALSE(ParseOptions({"--instances", "0"}, error));
    EXPECT_FALSE(ParseOptions({"--seconds"}, error));
    EXPECT_EQ(error, "--seconds needs a value");
    EXPECT_FALSE(ParseOptions({"--speed", "3"}, error));
    EXPECT_EQ(error, "unknown option --speed");
}

TEST(TortureFailure, StopsAtTheFirstUnlessKeepingGoing) {
    KTortureFailure stopping;
    stopping.EnterStep(12);
    stopping.Report(1, "NaN at channel 0, frame 3 of 64");
    EXPECT_TRUE(stopping.Failed());
    ASSERT_EQ(stopping.Records().size(), 1u);
    EXPECT_EQ(stopping.Records()[0].step, 12u);

    KTortureFailure going(true);
    going.Report(0, "NaN at channel 0, frame 3 of 64");
    EXPECT_FALSE(going.Failed());
    EXPECT_TRUE(going.AnyFailure());
}

TEST(TortureFailure, KeepsTheFirstFewOfEachKind) {
    KTortureFailure going(true);
    for (int i = 0; i < 10; ++i) going.Report(0, "NaN at channel 0, frame " + std::to_string(i) + " of 64");
    going.Report(2, "latency reported 0, measured 12");
    EXPECT_EQ(going.Count(), 11u);
    EXPECT_EQ(going.Kinds(), 2u);
    EXPECT_EQ(going.Records().size(), std::size_t(KTortureFailure::kRecordedPerKind + 1));
}

}  // namespace
