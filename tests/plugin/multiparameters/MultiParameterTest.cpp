#include <gtest/gtest.h>

#include "foundation/core/KException.h"
#include "plugin/multiparameters/KMultiParameterAutomation.h"
#include "support/FailureMessage.h"
#include "MultiParameterTestSupport.h"

namespace {

using namespace multiparameter_test;
using E = TargetEffect;

struct MultiParameterFixture : ::testing::Test, Plugin {
    // An entry of multiparameter 0 on record `target` with the given range
    // (and whatever `more` changes); editing applies the position.
    template <class More = void (*)(KMultiParameterParameter&)>
    int AddEntry(int target, KModulationRange range, bool invert = false,
                 More more = [](KMultiParameterParameter&) {}) {
        const int entry = Multi(0).AddEntry(target);
        Multi(0).EditEntry(entry, [&](KMultiParameterParameter& e) {
            e.range = range;
            e.invert = invert;
            more(e);
        });
        return entry;
    }
};

TEST_F(MultiParameterFixture, APositionSetsEveryEnabledEntrysTarget) {
    AddEntry(E::kA, {.value = 0.2, .maxValue = 0.6, .mode = KRangeMode::Interval});
    AddEntry(E::kB, {.value = 0.5, .range = 0.5, .mode = KRangeMode::FullRange}, true);
    AddEntry(E::kC, {.value = 0.5, .range = 1, .mode = KRangeMode::FullRange}, false,
             [](KMultiParameterParameter& e) { e.enabled = false; });

    Multi(0).SetSliderValue(0.25);
    EXPECT_NEAR(Value(E::kA), 0.3, 1e-12);    // 0.2 + 0.4 * 0.25
    EXPECT_NEAR(Value(E::kB), 0.625, 1e-12);  // inverted: m = 0.5, 0.5 + 0.25 * 0.5
    EXPECT_DOUBLE_EQ(Value(E::kC), 0);        // disabled entry left alone

    // Inverted at position 1 gives what position 0 gives uninverted: 0.25.
    Multi(0).SetSliderValue(1);
    EXPECT_NEAR(Value(E::kB), 0.25, 1e-12);
    EXPECT_NEAR(Value(E::kA), 0.6, 1e-12);
}

TEST_F(MultiParameterFixture, UseFirstRangeTakesTheFirstEntrysRangeButItsOwnInversion) {
    AddEntry(E::kA, {.value = 0.2, .maxValue = 0.6, .mode = KRangeMode::Interval});
    const int second = AddEntry(E::kB, {.value = 0.9, .range = 0.1, .mode = KRangeMode::UpOnly}, true);
    Multi(0).EditEntry(second, [](KMultiParameterParameter& e) { e.useFirstRange = true; });
    Multi(0).SetSliderValue(0);
    EXPECT_NEAR(Value(E::kA), 0.2, 1e-12);
    EXPECT_NEAR(Value(E::kB), 0.6, 1e-12);  // inverted interval 0.2..0.6 at position 0
}

TEST_F(MultiParameterFixture, AnEntryWithoutTargetIsSkipped) {
    AddEntry(E::kA, {.value = 0.5, .range = 1, .mode = KRangeMode::FullRange}, false,
             [](KMultiParameterParameter& e) { e.parameterIndex = -1; });
    Multi(0).SetSliderValue(1);
    EXPECT_DOUBLE_EQ(Value(E::kA), 0);
}

TEST_F(MultiParameterFixture, BanksTakeTheNearestBankOrInterpolate) {
    const int a = AddEntry(E::kA, {});
    const int b = AddEntry(E::kB, {});
    for (int entry : {a, b})
        Multi(0).EditEntry(entry, [&](KMultiParameterParameter& e) {
            e.SetBank(0, 0.2);
            e.SetBank(1, 0.6);
            e.SetBank(2, 1.0);
            e.interpolate = entry == b;
        });
    Multi(0).SetBankCount(3);
    Multi(0).SetMode(KMultiParameterMode::Banks);

    // p = 0.25 * (3 - 1) = 0.5: rounds half up to bank 1; interpolated
    // halfway between banks 0 and 1.
    Multi(0).SetSliderValue(0.25);
    EXPECT_NEAR(Value(E::kA), 0.6, 1e-7);
    EXPECT_NEAR(Value(E::kB), 0.4, 1e-7);
    // At the top both give the last bank.
    Multi(0).SetSliderValue(1);
    EXPECT_NEAR(Value(E::kA), 1.0, 1e-7);
    EXPECT_NEAR(Value(E::kB), 1.0, 1e-7);
}

TEST_F(MultiParameterFixture, DisabledMultiParametersApplyNothing) {
    Multi(0).SetDisabled(true);
    AddEntry(E::kA, {.value = 0.5, .range = 1, .mode = KRangeMode::FullRange});
    Multi(0).SetSliderValue(1);
    EXPECT_DOUBLE_EQ(Value(E::kA), 0);
    Multi(0).SetDisabled(false);
    Multi(0).Apply();
    EXPECT_DOUBLE_EQ(Value(E::kA), 1);
}

TEST_F(MultiParameterFixture, ChainsWorkAndLoopsEndAtTheReentryGuard) {
    // Multiparameter 1 drives multiparameter 2, which drives A and drives 1
    // back: the loop must end, and the chain must still reach A.
    const int second = Multi(0).AddEntry(PositionIndex(1));
    Multi(0).EditEntry(second, [](KMultiParameterParameter& e) {
        e.range = {.value = 0, .maxValue = 1, .mode = KRangeMode::Interval};
    });
    Multi(1).AddEntry(E::kA);
    Multi(1).EditEntry(0, [](KMultiParameterParameter& e) {
        e.range = {.value = 0, .maxValue = 1, .mode = KRangeMode::Interval};
    });
    Multi(1).AddEntry(PositionIndex(0));
    Multi(0).SetSliderValue(0.75);
    EXPECT_NEAR(Multi(1).SliderValue(), 0.75, 1e-12);
    EXPECT_NEAR(Value(E::kA), 0.75, 1e-12);
}

TEST_F(MultiParameterFixture, ApplyingCanTellTheHostAboutEveryTarget) {
    RecordingHost host;
    adapter.SetHostAdapter(&host);
    AddEntry(E::kA, {.value = 0.2, .maxValue = 0.6, .mode = KRangeMode::Interval});
    Multi(0).SetSliderValue(0.5);
    EXPECT_TRUE(host.sent.empty());
    Multi(0).Apply(true);
    ASSERT_EQ(host.sent.size(), 1u);
    EXPECT_EQ(host.sent[0].first, E::kA);
    EXPECT_NEAR(host.sent[0].second, 0.4, 1e-12);
    adapter.SetHostAdapter(nullptr);
}

TEST_F(MultiParameterFixture, EntryEditingKeepsAtLeastOneAndAtMostTheSlots) {
    EXPECT_EQ(Multi(0).EntryCount(), 1);  // the unassigned placeholder
    EXPECT_TRUE(Multi(0).IsUnused());
    EXPECT_EQ(Multi(0).AddEntry(E::kA), 0);  // takes the placeholder's place
    EXPECT_EQ(Multi(0).EntryCount(), 1);
    EXPECT_EQ(Multi(0).InspectEntry(0, [](const auto& e) { return e.parameterName.ToUTF8(); }), "a");

    EXPECT_EQ(FailureMessage([&] { Multi(0).DeleteEntry(0); }),
              "There must be at least one parameter for each modulator.");
    EXPECT_EQ(Multi(0).EntryCount(), 1);

    for (int i = 1; i < KMultiParameter::kMaxEntries; ++i) Multi(0).AddEntry(E::kB);
    EXPECT_THROW(Multi(0).AddEntry(E::kC), KException);
    EXPECT_EQ(Multi(0).EntryCount(), KMultiParameter::kMaxEntries);
    Multi(0).DeleteEntry(0);
    EXPECT_EQ(Multi(0).InspectEntry(0, [](const auto& e) { return e.parameterIndex; }), E::kB);

    Multi(0).ClearEntries();
    EXPECT_EQ(Multi(0).EntryCount(), 1);
    EXPECT_TRUE(Multi(0).IsUnused());
}

TEST_F(MultiParameterFixture, LabelsAndHiding) {
    EXPECT_EQ(Multi(2).Label().ToUTF8(), "Multiparameter 3");
    Multi(2).SetName("Sweep");
    EXPECT_EQ(Multi(2).Label().ToUTF8(), "Sweep");
    EXPECT_FALSE(Multi(2).Hidden());
    Multi(2).SetName("*internal");
    EXPECT_TRUE(Multi(2).Hidden());
}

TEST_F(MultiParameterFixture, HostParametersOfPositionAndEntrySlots) {
    const int position = PositionIndex(1);
    EXPECT_EQ(adapter.GetParameterName(position).ToUTF8(), "MultiParameter 2");
    EXPECT_EQ(adapter.GetParameterName(position + 1).ToUTF8(), "MultiParameter 2 Value 1");
    EXPECT_EQ(adapter.GetParameterName(position + 5).ToUTF8(), "MultiParameter 2 Max value 2");
    EXPECT_EQ(adapter.GetParameterID(position + 48).ToUTF8(), "MultiParameter2Range16");
    EXPECT_EQ(adapter.GetParameterValueName(position).ToUTF8(), "50.0%");
    EXPECT_EQ(adapter.GetParameterDefaultValueName(position + 1).ToUTF8(), "50.0%");
    EXPECT_DOUBLE_EQ(adapter.ParseParameterValueName(position, "30"), 0.3);

    // The host moving an entry's maximal value re-applies the position.
    Multi(1).AddEntry(E::kA);
    Multi(1).EditEntry(0, [](KMultiParameterParameter& e) {
        e.range = {.value = 0, .maxValue = 1, .mode = KRangeMode::Interval};
    });
    adapter.SetParameter(position, 1.0);
    EXPECT_DOUBLE_EQ(Value(E::kA), 1.0);
    adapter.SetParameter(position + 2, 0.4);
    EXPECT_DOUBLE_EQ(Value(E::kA), 0.4);
    EXPECT_DOUBLE_EQ(adapter.GetParameter(position + 2), 0.4);
    // A slot without an entry answers the default and ignores the host.
    adapter.SetParameter(position + 4, 0.9);
    EXPECT_DOUBLE_EQ(adapter.GetParameter(position + 4), 0.5);
}

TEST_F(MultiParameterFixture, ByFirstParameterShowsTheFirstTargetsText) {
    Multi(0).AddEntry(E::kA);
    Multi(0).EditEntry(0, [](KMultiParameterParameter& e) {
        e.range = {.value = 0.2, .maxValue = 0.6, .mode = KRangeMode::Interval};
    });
    Multi(0).SetValueMode(KMultiParameterValueMode::ByFirstParameter);
    // Position 0.5 puts A at 0.4, which A's percent display shows as 40.0%.
    EXPECT_EQ(adapter.GetParameterValueNameFrom01(PositionIndex(0), 0.5).ToUTF8(), "40.0%");
}

}  // namespace
