#include <gtest/gtest.h>

#include <array>

#include "plugin/parameters/KTextRules.h"

namespace {

std::string Text(const KString& s) { return s.ToUTF8(); }
const std::string kDegree = "\xC2\xB0";  // U+00B0 in UTF-8

TEST(TextRules, RoundHalfUpRoundsHalvesTowardsPositiveInfinity) {
    EXPECT_EQ(KTextRules::RoundHalfUp(5.5), 6);
    EXPECT_EQ(KTextRules::RoundHalfUp(5.49), 5);
    EXPECT_EQ(KTextRules::RoundHalfUp(-5.5), -5);
    EXPECT_EQ(KTextRules::RoundHalfUp(-5.51), -6);
}

TEST(TextRules, PercentSwitchesToTwoDecimalsBelowOnePercent) {
    EXPECT_EQ(Text(KTextRules::Percent(1.0)), "100.0%");
    EXPECT_EQ(Text(KTextRules::Percent(0.01)), "1.0%");
    EXPECT_EQ(Text(KTextRules::Percent(0.005)), "0.50%");
    EXPECT_EQ(Text(KTextRules::Percent(-0.25)), "-25.0%");
}

TEST(TextRules, FrequencyAtEveryThreshold) {
    EXPECT_EQ(Text(KTextRules::Frequency(0.000009)), "0 Hz");
    EXPECT_EQ(Text(KTextRules::Frequency(0.5)), "0.5000 Hz");
    EXPECT_EQ(Text(KTextRules::Frequency(5)), "5.00 Hz");
    EXPECT_EQ(Text(KTextRules::Frequency(50)), "50.0 Hz");
    EXPECT_EQ(Text(KTextRules::Frequency(440.4)), "440 Hz");
    EXPECT_EQ(Text(KTextRules::Frequency(440.5)), "441 Hz");
    EXPECT_EQ(Text(KTextRules::Frequency(9999.4)), "9999 Hz");
    EXPECT_EQ(Text(KTextRules::Frequency(12500)), "12.5 kHz");
}

TEST(TextRules, FrequencyWithSeparatorPutsItBeforeTheUnit) {
    EXPECT_EQ(Text(KTextRules::Frequency(0, "_")), "0_Hz");
    EXPECT_EQ(Text(KTextRules::Frequency(0.25, "_")), "0.2500_Hz");
    EXPECT_EQ(Text(KTextRules::Frequency(2.5, "_")), "2.50_Hz");
    EXPECT_EQ(Text(KTextRules::Frequency(25, "_")), "25.0_Hz");
    EXPECT_EQ(Text(KTextRules::Frequency(250, "_")), "250_Hz");
    EXPECT_EQ(Text(KTextRules::Frequency(20000, " ")), "20.0 kHz");
}

TEST(TextRules, DecibelPanAndTime) {
    EXPECT_EQ(Text(KTextRules::Decibel(0)), "silence");
    EXPECT_EQ(Text(KTextRules::Decibel(1)), "0.00 dB");
    EXPECT_EQ(Text(KTextRules::Decibel(10)), "20.0 dB");   // 20 log10(10)
    EXPECT_EQ(Text(KTextRules::Decibel(0.5)), "-6.02 dB");  // 20 log10(0.5) = -6.0206
    EXPECT_EQ(Text(KTextRules::Pan(0)), "center");
    EXPECT_EQ(Text(KTextRules::Pan(-0.5)), "50% left");
    EXPECT_EQ(Text(KTextRules::Pan(0.999)), "99% right");
    EXPECT_EQ(Text(KTextRules::Time(0)), "0 ms");
    EXPECT_EQ(Text(KTextRules::Time(0.00005)), "0.050 ms");
    EXPECT_EQ(Text(KTextRules::Time(0.0005)), "0.50 ms");
    EXPECT_EQ(Text(KTextRules::Time(0.005)), "5.0 ms");
    EXPECT_EQ(Text(KTextRules::Time(0.0204)), "20 ms");
}

TEST(TextRules, DegreesNotesAndShapes) {
    EXPECT_EQ(Text(KTextRules::Degrees(0)), "0" + kDegree + " (0%)");
    EXPECT_EQ(Text(KTextRules::Degrees(0.1)), "36" + kDegree + " (10.0%)");
    EXPECT_EQ(Text(KTextRules::Degrees(0.25)), "90" + kDegree + " (25.0%)");
    EXPECT_EQ(Text(KTextRules::Note(61)), "C#5");
    EXPECT_EQ(Text(KTextRules::Note(60)), "C5");
    EXPECT_EQ(Text(KTextRules::Note(11)), "B0");
    EXPECT_EQ(Text(KTextRules::NoteFromPosition(127)), "G10");
    EXPECT_EQ(Text(KTextRules::NoteFromPosition(128)), "");

    const std::array<KString, 4> names{"A", "B", "C", "D"};
    EXPECT_EQ(Text(KTextRules::Shape(1.3, names)), "70% B, 30% C");
    EXPECT_EQ(Text(KTextRules::Shape(1.004, names)), "B");
    EXPECT_EQ(Text(KTextRules::Shape(1.996, names)), "C");
    EXPECT_EQ(Text(KTextRules::Shape(7, names)), "D");  // clamped to the last shape
    EXPECT_EQ(Text(KTextRules::Shape(-1, names)), "A");
}

}  // namespace
