#include <gtest/gtest.h>

#include <thread>

#include "../pipeline/PipelineTestSupport.h"

// The host hears of a new latency only when the plug-in holds none of its
// locks: a bridge may answer by calling back into the plug-in from another
// thread (reading the latency, processing a block), which would otherwise
// wait for ever.

namespace {

using namespace pipeline_test;

struct LockProbingHost final : KAudioPluginAdapter {
    explicit LockProbingHost(KAudioPlugin& plugin) : plugin(plugin) {}
    void SendAutomation(std::int32_t, double) override {}
    void SendBypassAutomation(bool) override {}
    void GenerateMIDIEvent(std::int32_t, const std::uint8_t*) override {}
    bool ChangeEditorSize(EditorSize) override { return false; }

    // Another thread tries each lock; the locks are re-entrant, so the
    // calling thread could not tell.
    void ReportLatency() override {
        ++reports;
        std::thread other([&] {
            for (KLock* lock : {&plugin.PluginLock(), &plugin.SecondLock(), &plugin.ThirdLock()}) {
                if (!lock->TryAcquire()) {
                    ++heldWhileReporting;
                    continue;
                }
                lock->Release();
            }
        });
        other.join();
    }

    KAudioPlugin& plugin;
    int reports = 0;
    int heldWhileReporting = 0;
};

TEST(LockRelease, LatencyIsReportedWithNoLockHeld) {
    TestPlugin plugin;
    LockProbingHost host(plugin);
    plugin.SetHostAdapter(&host);

    plugin.SetHighQualityUpsampling(true);  // filter latency appears
    plugin.SetUpsamplingFactor(4);          // and changes with the factor
    plugin.SetUpsamplingFactor(2);
    plugin.SetUpsamplingFactor(2);  // no change, no set-up, no report

    EXPECT_GE(host.reports, 2);  // each factor has a latency of its own
    EXPECT_EQ(host.heldWhileReporting, 0);
    EXPECT_EQ(plugin.PipelineSettings().upsampling, 2);
    plugin.SetHostAdapter(nullptr);
}

}  // namespace
