#include <gtest/gtest.h>

#include <cmath>

#include "foundation/xml/KXMLItem.h"
#include "plugin/parameters/KValueDegreesFrom01.h"
#include "plugin/parameters/KValueFrequency.h"
#include "plugin/parameters/KValueFrequencyLinear.h"
#include "plugin/parameters/KValueFrequencyLog.h"
#include "plugin/parameters/KValueMIDINote.h"
#include "plugin/parameters/KValuePan.h"
#include "plugin/parameters/KValuePercents.h"
#include "plugin/parameters/KValuePitch.h"
#include "plugin/parameters/KValueSignalGeneratorShape.h"
#include "plugin/parameters/KValueTimeMS.h"
#include "plugin/parameters/KValueVolume.h"

namespace {

std::string Text(const KString& s) { return s.ToUTF8(); }
const std::string kDegree = "\xC2\xB0";  // U+00B0 in UTF-8

// The rules themselves are tested on their own; here, that each class shows
// its stored unit with its rule and converts typed numbers into that unit.
TEST(KValueUnits, TextsUseTheRuleOfTheUnitAndTypedNumbersConvertIntoIt) {
    KValuePercents percents(0.0, 2.0, 0.25);
    EXPECT_EQ(Text(percents.Text()), "25.0%");
    EXPECT_EQ(Text(percents.TextFromPosition(0.0025)), "0.50%");  // mapped value 0.005
    EXPECT_TRUE(percents.Parse("12.5%"));
    EXPECT_EQ(percents.Value(), 0.125);

    KValuePercentsF single(0.0f, 1.0f, 0.5f);
    EXPECT_TRUE(single.Parse("25"));
    EXPECT_EQ(single.Value(), 0.25f);

    KValueStepPercents stepped(0.0, 1.0, 0.0, 0.01);
    EXPECT_TRUE(stepped.Parse("33.333"));
    EXPECT_DOUBLE_EQ(stepped.Value(), 0.33);  // 33.333 steps of 0.01 round to 33

    KValueTimeMS time(0.0, 1.0, 0.0204);
    EXPECT_EQ(Text(time.Text()), "20 ms");
    EXPECT_TRUE(time.Parse("250 ms"));
    EXPECT_DOUBLE_EQ(time.Value(), 0.25);

    KValueDegreesFrom01 degrees(0.0, 1.0, 0.1);
    EXPECT_EQ(Text(degrees.Text()), "36" + kDegree + " (10.0%)");
    EXPECT_TRUE(degrees.Parse("90"));
    EXPECT_DOUBLE_EQ(degrees.Value(), 0.25);

    KValueVolume volume(0.0, 4.0, 1.0);
    EXPECT_EQ(Text(volume.Text()), "0.00 dB");
    EXPECT_EQ(Text(volume.TextFromPosition(0)), "silence");
    EXPECT_TRUE(volume.Parse("-6"));
    EXPECT_DOUBLE_EQ(volume.Value(), std::pow(10.0, -0.3));  // 10^(-6 × 0.05)
    EXPECT_TRUE(volume.Parse("20 dB"));
    EXPECT_EQ(volume.Value(), 4);  // 10× is beyond the range

    for (KValue* value : {static_cast<KValue*>(&percents), static_cast<KValue*>(&time), static_cast<KValue*>(&volume)})
        EXPECT_FALSE(value->Parse("abc"));
    EXPECT_EQ(percents.Value(), 0.125);
}

TEST(KValueFrequency, PositionIsLogarithmicAcrossTheAudioRange) {
    double hertz = 20;
    KValueFrequency value(&hertz, 20, 20000);
    EXPECT_EQ(value.Position(), 0);
    EXPECT_EQ(Text(value.Text()), "20.0 Hz");
    // Three decades: the middle is 20 × 10^1.5 = 632.46 Hz.
    EXPECT_TRUE(value.SetFromPosition(0.5));
    EXPECT_NEAR(hertz, 632.4555320336759, 1e-9);
    EXPECT_EQ(Text(value.Text()), "632 Hz");
    EXPECT_EQ(Text(value.TextFromPosition(1)), "20.0 kHz");
    EXPECT_EQ(Text(value.TextFromPosition(2.0 / 3)), "2000 Hz");  // 20 × 10^2

    for (int i = 0; i <= 20; ++i) {
        const double x = i / 20.0;
        value.SetFromPosition(x);
        EXPECT_NEAR(value.Position(), x, 1e-12) << x;
    }
    EXPECT_EQ(hertz, 20000);
}

TEST(KValueFrequency, StepsMoveThePositionAndTypedTextMustBePositive) {
    double hertz = 20;
    KValueFrequency value(&hertz, 20, 20000);
    EXPECT_TRUE(value.Step(1));
    EXPECT_NEAR(hertz, 20 * std::pow(10.0, 0.003), 1e-9);  // 0.001 of three decades
    EXPECT_TRUE(value.Step(-5));
    EXPECT_DOUBLE_EQ(hertz, 20);  // 10^log10(20) may miss 20 by a rounding step
    EXPECT_FALSE(value.Step(-1));

    EXPECT_TRUE(value.Parse("440"));
    EXPECT_EQ(hertz, 440);
    for (const KString& refused : {KString("0"), KString("-5"), KString("abc")}) EXPECT_FALSE(value.Parse(refused));
    EXPECT_EQ(hertz, 440);

    double fixed = 440;
    EXPECT_EQ(KValueFrequency(&fixed, 440, 440).Position(), 1.0);
}

TEST(KValueFrequencyLog, ValueIsTheLogarithmAndPositionLinearInIt) {
    double logHertz = std::log10(440.0);
    KValueFrequencyLog value(&logHertz, std::log10(20.0), std::log10(20000.0));
    EXPECT_EQ(Text(value.Text()), "440 Hz");
    EXPECT_TRUE(value.Parse("1000"));
    EXPECT_DOUBLE_EQ(logHertz, 3);
    // (3 - log10 20) / (log10 20000 - log10 20) = (3 - 1.30103) / 3
    EXPECT_NEAR(value.Position(), (3 - std::log10(20.0)) / 3, 1e-12);
    EXPECT_FALSE(value.Parse("0"));
    EXPECT_FALSE(value.Parse("-100"));
    EXPECT_DOUBLE_EQ(logHertz, 3);
}

TEST(KValueFrequencyLinear, ValueTextIsTheFrequencyTextPositionsUseTheFormat) {
    KValueFrequencyLinear value(0.0, 1000.0, 440.5);
    value.SetFormat("{0;.1} Hz");
    EXPECT_EQ(Text(value.Text()), "441 Hz");
    EXPECT_EQ(Text(value.TextFromPosition(0.5)), "500.0 Hz");
    EXPECT_TRUE(value.Parse("250.5 Hz"));
    EXPECT_EQ(value.Value(), 250.5);
}

TEST(KValuePan, ShowsSidesCutToWholePercents) {
    KValuePan value(-1.0, 1.0, 0.999);
    EXPECT_EQ(Text(value.Text()), "99% right");
    EXPECT_TRUE(value.Parse("-50"));
    EXPECT_EQ(value.Value(), -0.5);
    EXPECT_EQ(Text(value.Text()), "50% left");
    EXPECT_EQ(Text(value.TextFromPosition(0.5)), "center");
    // x = 0.53499999995 maps to 0.0699999999: cut, 6% as a double, but its
    // nearest 32-bit float is 0.0700000003, which reads 7%.
    EXPECT_EQ(Text(value.TextFromPosition(0.53499999995)), "7% right");
}

TEST(KValuePitch, EditorDefaults) {
    double ratio = 1;
    const auto pitch = KValuePitch::ForEditor(&ratio);
    EXPECT_EQ(pitch->FineStep(), 0.1);
    EXPECT_EQ(pitch->CoarseStep(), 1);
    EXPECT_EQ(Text(pitch->Text()), "+1.00");
    EXPECT_EQ(Text(pitch->TextFromPosition(0)), "+0.25");
    EXPECT_TRUE(pitch->Parse("+2.5"));
    EXPECT_EQ(ratio, 2.5);
}

TEST(KValueMIDINote, NamesNotesAndLeavesPositionsBeyond127Empty) {
    KValueMIDINote note(0, 255, 61);
    EXPECT_EQ(Text(note.Text()), "C#5");
    EXPECT_EQ(Text(note.TextFromPosition(0)), "C0");
    EXPECT_EQ(Text(note.TextFromPosition(127.0 / 255)), "G10");  // 127 = 10 × 12 + 7
    EXPECT_EQ(Text(note.TextFromPosition(0.5)), "");  // 127.5 rounds up to 128
    EXPECT_TRUE(note.Parse("64"));
    EXPECT_EQ(Text(note.Text()), "E5");
}

TEST(KValueSignalGeneratorShape, NamesShapesAndMorphs) {
    KValueSignalGeneratorShape shape(0.0, 15.0, 5.0);
    EXPECT_EQ(Text(shape.Text()), "Sine");
    shape.SetValue(5.3);
    EXPECT_EQ(Text(shape.Text()), "70% Sine, 30% Harmonics");
    EXPECT_EQ(Text(shape.TextFromPosition(1)), "Mess");  // shape 15
    EXPECT_EQ(Text(shape.TextFromPosition(5.5 / 15)), "50% Sine, 50% Harmonics");
    EXPECT_TRUE(shape.Parse("6"));
    EXPECT_EQ(Text(shape.Text()), "Harmonics");
}

}  // namespace
