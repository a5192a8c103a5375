// A host's threads at once: the audio thread processing blocks with
// parameter changes, the editing thread setting and reading parameters, and
// a state thread loading and saving. Meant for the ThreadSanitizer build;
// HALVANE_VST3_STRESS_SECONDS makes the run longer.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "hosts/vst3/Vst3TestHost.h"

using namespace vst3test;

namespace {

std::chrono::milliseconds RunTime() {
    const char* seconds = std::getenv("HALVANE_VST3_STRESS_SECONDS");
    return std::chrono::milliseconds(seconds ? std::atoi(seconds) * 1000 : 2000);
}

TEST(Vst3Concurrency, ProcessEditAndStateAtOnce) {
    Instance plugin;
    plugin.Start();
    const vst3::ParamID id = plugin.ContinuousParameter();
    MemoryStream saved;
    ASSERT_EQ(plugin.component->getState(&saved), vst3::kResultOk);

    std::atomic<bool> stop{false};
    std::atomic<int> failures{0}, blocks{0};
    std::thread audio([&] {
        for (int i = 0; !stop; ++i) {
            ParameterChanges changes;
            changes.Add(id, {{0, (i % 100) / 100.0}});
            changes.Add(10001, {{0, (i % 7) / 7.0}});
            if (plugin.Process(Instance::kFrames, &changes) != vst3::kResultOk) ++failures;
            ++blocks;
        }
    });
    std::thread editing([&] {
        vst3::String128 text{};
        for (int i = 0; !stop; ++i) {
            plugin.controller->setParamNormalized(id, (i % 10) / 10.0);
            const double value = plugin.controller->getParamNormalized(id);
            if (value < 0 || value > 1) ++failures;
            if (plugin.controller->getParamStringByValue(id, value, text) != vst3::kResultOk) ++failures;
        }
    });
    std::thread state([&] {
        while (!stop) {
            MemoryStream copy;
            copy.bytes = saved.bytes;
            if (plugin.controller->setState(&copy) != vst3::kResultOk) ++failures;
            MemoryStream out;
            if (plugin.component->getState(&out) != vst3::kResultOk) ++failures;
        }
    });
    std::this_thread::sleep_for(RunTime());
    stop = true;
    for (auto* thread : {&audio, &editing, &state}) thread->join();
    EXPECT_EQ(failures, 0);
    EXPECT_GT(blocks, 0);
}

}  // namespace
