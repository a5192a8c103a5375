#include <gtest/gtest.h>

#include "plugin/parameters/KDisplayFunctions.h"
#include "plugin/parameters/KParameterMapping.h"

// A typed text that holds no number gives the position of the unchanged
// value, with or without a display function.

namespace {

using KParameterMapping::ParsePosition;

TEST(UnreadableText, FloatRecordsAnswerThePositionOfTheirValue) {
    KParameterRecord depth = KParameterRecord::Float("Depth", "depth0", 0, 1, 0.4, KDisplayFunctions::Percent);
    EXPECT_EQ(ParsePosition(depth, "abc"), 0.4);
    EXPECT_EQ(ParsePosition(depth, ""), 0.4);
    EXPECT_EQ(ParsePosition(depth, "nan"), 0.4);
    EXPECT_DOUBLE_EQ(ParsePosition(depth, "25"), 0.25);  // still reads numbers: 25 % of 0..1

    KParameterRecord phase = KParameterRecord::Float("Phase", "phase0", 0, 1, 0.1, KDisplayFunctions::Degrees);
    EXPECT_EQ(ParsePosition(phase, "abc"), 0.1);
    EXPECT_DOUBLE_EQ(ParsePosition(phase, "90"), 0.25);  // 90 / 360

    KParameterRecord plain = KParameterRecord::Float("Gain", "gain", 0, 2, 1.5);
    EXPECT_EQ(ParsePosition(plain, "-"), 0.75);  // 1.5 of 0..2
    EXPECT_EQ(ParsePosition(plain, "0"), 0.0);   // a typed 0 is a number
}

TEST(UnreadableText, IntegerRecordsAnswerThePositionOfTheirValue) {
    KParameterRecord steps = KParameterRecord::Integer("Steps", "steps", 0, 10, 7);
    EXPECT_DOUBLE_EQ(ParsePosition(steps, "x"), 0.7);
    EXPECT_DOUBLE_EQ(ParsePosition(steps, "-"), 0.7);
    EXPECT_DOUBLE_EQ(ParsePosition(steps, "4"), 0.4);
    EXPECT_EQ(ParsePosition(steps, "-3"), 0.0);  // readable, below the range
}

}  // namespace
