// The module's own threads (the automation update thread, the waveform
// builders) belong to its instances: once a host has closed every instance
// through either format, none of them is left running, so that nothing of
// the module runs on while the process exits or the host unloads it.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/ThreadCount.h"
#include "hosts/vst2/Vst2TestHost.h"
#include "hosts/vst3/Vst3TestHost.h"

namespace {

// A joined thread may linger in the task list for a moment while the
// kernel finishes it; a thread left running stays.
bool ThreadCountFallsTo(int expected) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (ThreadsOfThisProcess() > expected) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TEST(ModuleThreads, EndWithTheLastInstanceOfEitherFormat) {
    LetSanitizerThreadsStart();
    const int before = ThreadsOfThisProcess();
    {
        Vst2Test::TestHost first, second;
        ASSERT_NE(first.LoadFromModule(), nullptr);
        ASSERT_NE(second.LoadFromModule(), nullptr);
        vst3test::Instance third;
        for (Vst2Test::TestHost* host : {&first, &second}) {
            host->Start(44100, 256);
            std::vector<float> in[2] = {std::vector<float>(256, 0.25f), std::vector<float>(256, 0.25f)};
            std::vector<float> out[2] = {std::vector<float>(256), std::vector<float>(256)};
            host->Process(in, out);
        }
        third.Start();
        third.Process();
        ASSERT_GT(ThreadsOfThisProcess(), before);  // the instances run threads of their own
        second.Close();
        first.Close();
    }
    EXPECT_TRUE(ThreadCountFallsTo(before)) << ThreadsOfThisProcess() << " threads, " << before << " before";
}

}  // namespace
