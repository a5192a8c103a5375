#include <gtest/gtest.h>

#include "foundation/core/KException.h"
#include "support/FailureMessage.h"
#include "MultiParameterTestSupport.h"

namespace {

using namespace multiparameter_test;
using E = TargetEffect;

struct MultiParameterFixture : ::testing::Test, Plugin {
    // An entry of multiparameter 0 on `target`, edited by `edit` (editing
    // applies the position).
    template <class Edit>
    void AddEntry(int target, Edit edit) {
        Multi(0).EditEntry(Multi(0).AddEntry(target), edit);
    }
    static void Interval(KMultiParameterParameter& e, double from, double to) {
        e.range = {.value = from, .maxValue = to, .mode = KRangeMode::Interval};
    }
};

TEST_F(MultiParameterFixture, EnabledEntriesWithTargetsFollowThePosition) {
    AddEntry(E::kA, [](auto& e) { Interval(e, 0.2, 0.6); });
    AddEntry(E::kB, [](auto& e) {
        e.range = {.value = 0.5, .range = 0.5, .mode = KRangeMode::FullRange};
        e.invert = true;
    });
    AddEntry(E::kC, [](auto& e) {
        Interval(e, 0.5, 1);
        e.enabled = false;
    });
    AddEntry(E::kC, [](auto& e) {
        Interval(e, 0.5, 1);
        e.parameterIndex = -1;  // a target that did not resolve
    });

    Multi(0).SetSliderValue(0.25);
    EXPECT_NEAR(Value(E::kA), 0.3, 1e-12);    // 0.2 + 0.4 * 0.25
    EXPECT_NEAR(Value(E::kB), 0.625, 1e-12);  // inverted: m = 0.5, so 0.5 + 0.25 * 0.5
    EXPECT_DOUBLE_EQ(Value(E::kC), 0);
    // Inverted at position 1 gives what position 0 gives uninverted: 0.25.
    Multi(0).SetSliderValue(1);
    EXPECT_NEAR(Value(E::kB), 0.25, 1e-12);

    // Use-first-range takes the first entry's range but keeps its own
    // inversion. Edits reach the targets at the start of the next block.
    Multi(0).EditEntry(1, [](auto& e) { e.useFirstRange = true; });
    EXPECT_NEAR(Value(E::kB), 0.25, 1e-12);
    ProcessBlock(64);
    EXPECT_NEAR(Value(E::kB), 0.2, 1e-12);
}

TEST_F(MultiParameterFixture, AShapeBendsThePositionBeforeTheRange) {
    AddEntry(E::kA, [](auto& e) {
        Interval(e, 0, 0.5);
        e.SetShape(KEnvelope({0, 1}, {0, 1}, 1, 0));  // the falling diagonal: 1 - x
        e.shapeEnabled = true;
    });
    Multi(0).SetSliderValue(0.25);
    EXPECT_NEAR(Value(E::kA), 0.375, 1e-9);  // 0.5 * (1 - 0.25)
}

TEST_F(MultiParameterFixture, BanksTakeTheNearestBankOrInterpolate) {
    for (int target : {E::kA, E::kB})
        AddEntry(target, [&](auto& e) {
            e.SetBank(0, 0.2);
            e.SetBank(1, 0.6);
            e.SetBank(2, 1.0);
            e.interpolate = target == E::kB;
        });
    Multi(0).SetBankCount(3);
    Multi(0).SetMode(KMultiParameterMode::Banks);
    // p = 0.25 * (3 - 1) = 0.5: rounds half up to bank 1; interpolated,
    // halfway between banks 0 and 1.
    Multi(0).SetSliderValue(0.25);
    EXPECT_NEAR(Value(E::kA), 0.6, 1e-7);
    EXPECT_NEAR(Value(E::kB), 0.4, 1e-7);
    Multi(0).SetSliderValue(1);  // the top is the last bank in both ways
    EXPECT_NEAR(Value(E::kA), 1.0, 1e-7);
    EXPECT_NEAR(Value(E::kB), 1.0, 1e-7);
}

TEST_F(MultiParameterFixture, DisabledAppliesNothingAndChainsEndAtTheReentryGuard) {
    Multi(0).SetDisabled(true);
    AddEntry(E::kA, [](auto& e) { Interval(e, 0, 1); });
    Multi(0).SetSliderValue(0.75);
    EXPECT_DOUBLE_EQ(Value(E::kA), 0);
    Multi(0).SetDisabled(false);

    // 1 drives 2, which drives B and drives 1 back: the loop must end and
    // the chain must still reach B.
    AddEntry(PositionIndex(1), [](auto& e) { Interval(e, 0, 1); });
    Multi(1).AddEntry(E::kB);
    Multi(1).EditEntry(0, [](auto& e) { Interval(e, 0, 1); });
    Multi(1).AddEntry(PositionIndex(0));
    Multi(0).SetSliderValue(0.25);
    EXPECT_NEAR(Value(E::kA), 0.25, 1e-12);
    EXPECT_NEAR(Multi(1).SliderValue(), 0.25, 1e-12);
    EXPECT_NEAR(Value(E::kB), 0.25, 1e-12);
}

TEST_F(MultiParameterFixture, ApplyingCanTellTheHostAboutEveryTarget) {
    RecordingHost host;
    adapter.SetHostAdapter(&host);
    AddEntry(E::kA, [](auto& e) { Interval(e, 0.2, 0.6); });
    Multi(0).SetSliderValue(0.5);
    EXPECT_TRUE(host.sent.empty());
    Multi(0).Apply(true);
    ASSERT_EQ(host.sent.size(), 1u);
    EXPECT_EQ(host.sent[0].first, E::kA);
    EXPECT_NEAR(host.sent[0].second, 0.4, 1e-12);
    adapter.SetHostAdapter(nullptr);
}

TEST_F(MultiParameterFixture, EntryEditingKeepsAtLeastOneAndAtMostTheSlots) {
    EXPECT_TRUE(Multi(0).IsUnused());        // one unassigned placeholder
    EXPECT_EQ(Multi(0).AddEntry(E::kA), 0);  // takes its place
    EXPECT_EQ(Multi(0).EntryCount(), 1);
    EXPECT_EQ(FailureMessage([&] { Multi(0).DeleteEntry(0); }),
              "There must be at least one parameter for each modulator.");
    for (int i = 1; i < KMultiParameter::kMaxEntries; ++i) Multi(0).AddEntry(E::kB);
    EXPECT_THROW(Multi(0).AddEntry(E::kC), KException);
    Multi(0).DeleteEntry(0);
    EXPECT_EQ(Multi(0).EntryCount(), KMultiParameter::kMaxEntries - 1);
    EXPECT_EQ(Multi(0).InspectEntry(0, [](const auto& e) { return e.parameterIndex; }), E::kB);
    Multi(0).ClearEntries();
    EXPECT_TRUE(Multi(0).IsUnused());
    EXPECT_EQ(Multi(2).Label().ToUTF8(), "Multiparameter 3");
}

TEST_F(MultiParameterFixture, HostParametersOfPositionAndEntrySlots) {
    const int position = PositionIndex(1);
    EXPECT_EQ(adapter.GetParameterName(position).ToUTF8(), "MultiParameter 2");
    EXPECT_EQ(adapter.GetParameterName(position + 5).ToUTF8(), "MultiParameter 2 Max value 2");
    EXPECT_EQ(adapter.GetParameterID(position + 48).ToUTF8(), "MultiParameter2Range16");
    EXPECT_EQ(adapter.GetParameterValueName(position).ToUTF8(), "50.0%");
    EXPECT_DOUBLE_EQ(adapter.ParseParameterValueName(position, "30"), 0.3);

    Multi(1).AddEntry(E::kA);
    Multi(1).EditEntry(0, [](auto& e) { Interval(e, 0.2, 1); });
    adapter.SetParameter(position, 1.0);
    EXPECT_DOUBLE_EQ(Value(E::kA), 1.0);
    adapter.SetParameter(position + 2, 0.6);  // the host moves the maximal value
    EXPECT_DOUBLE_EQ(Value(E::kA), 0.6);
    // A slot without an entry answers its default and ignores the host.
    adapter.SetParameter(position + 4, 0.9);
    EXPECT_DOUBLE_EQ(adapter.GetParameter(position + 4), 0.5);

    // "By first parameter": position 0.5 puts A at 0.4, which A shows as 40.0%.
    Multi(1).SetValueMode(KMultiParameterValueMode::ByFirstParameter);
    EXPECT_EQ(adapter.GetParameterValueNameFrom01(position, 0.5).ToUTF8(), "40.0%");
}

}  // namespace
