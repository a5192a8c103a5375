#include <gtest/gtest.h>

#include <vector>

#include "MIDIPluginSupport.h"
#include "foundation/core/Random.h"

namespace {

struct AutomationOut : ::testing::Test {
    AutomationOut() { m.plugin.SetHostAdapter(&host); }
    // Every parameter here is an adapter of its own, so the host index is
    // the adapter's first index.
    KAutomationAdapter& AdapterOf(int index) { return m.plugin.AdapterOf(index); }
    MIDIPlugin m;
    RecordingHost host;
};

TEST_F(AutomationOut, ValueWithChangeNudgesFirstSoTheHostSeesAChange) {
    AdapterOf(1).SendAutomationValueWithChange(0, 0.0);
    AdapterOf(1).SendAutomationValueWithChange(0, 0.5);
    ASSERT_EQ(host.sent.size(), 4u);
    EXPECT_EQ(host.sent[0].index, 1);
    EXPECT_DOUBLE_EQ(host.sent[0].value, 1e-10);
    EXPECT_DOUBLE_EQ(host.sent[1].value, 0.0);
    EXPECT_DOUBLE_EQ(host.sent[2].value, 0.5 - 1e-10);
    EXPECT_DOUBLE_EQ(host.sent[3].value, 0.5);
}

TEST_F(AutomationOut, SendAutomationSendsTheCurrentValueUnderTheHostIndex) {
    const int last = m.plugin.GetParameterCount() - 1;  // "Note controller 32 MaxValue"
    m.plugin.SetParameter(last, 0.25);
    AdapterOf(last).SendAutomation(0);
    AdapterOf(last).SendAllAutomation();
    AdapterOf(0).SendAutomationValue(0, 0.125);
    ASSERT_EQ(host.sent.size(), 3u);
    EXPECT_EQ(host.sent[0].index, last);
    EXPECT_DOUBLE_EQ(host.sent[0].value, 0.25);
    EXPECT_EQ(host.sent[1].index, last);
    EXPECT_EQ(host.sent[2].index, 0);
    EXPECT_DOUBLE_EQ(host.sent[2].value, 0.125);
}

// The default randomisation: with r the next draw, current + (r - 0.5) * 2 * amount.
TEST_F(AutomationOut, DefaultRandomizeMovesByTheAmountAndClamps) {
    KAutomationAdapter& value = AdapterOf(2);  // "Controller 1 Value", 0
    value.SetParameter(0, 0.5, true);
    KRandom::Seed(1234);
    std::uint32_t state = 1234;
    const double r = KRandom::Advance(state) / 32767.0;
    value.Randomize(0, 0.1);
    EXPECT_NEAR(value.GetParameter(0), 0.5 + (r - 0.5) * 0.2, 1e-12);
    const double fresh = KRandom::Advance(state) / 32767.0;
    value.Randomize(0, 1.0);
    EXPECT_NEAR(value.GetParameter(0), fresh, 1e-12);
}

}  // namespace
