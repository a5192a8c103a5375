// A host that calls everything at once: ten threads of parameter, text,
// capability and state calls while one thread processes.
#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

#include "Vst2TestHost.h"

namespace Vst2Test {
namespace {

constexpr int kCallers = 10;
constexpr int kRoundsPerCaller = 150;

void HostileCalls(TestHost& host, int seed, const std::vector<std::uint8_t>& chunk, std::mutex& chunkReaders) {
    AEffect* effect = host.Effect();
    std::mt19937 random{unsigned(seed)};
    std::uniform_int_distribution<int> parameter(-2, effect->numParams + 2), action(0, 6);
    std::uniform_real_distribution<float> value(-0.5f, 1.5f);  // also outside 0..1
    for (int round = 0; round < kRoundsPerCaller; ++round) {
        const int index = parameter(random);
        switch (action(random)) {
            case 0: effect->setParameter(effect, index, value(random)); break;
            case 1: (void)effect->getParameter(effect, index); break;
            case 2: host.Text(effGetParamDisplay, index); break;
            case 3: host.Text(effGetParamName, index), host.Text(effGetParamLabel, index); break;
            case 4: host.CanDo(round % 2 ? "receiveVstTimeInfo" : "bypass"); break;
            case 5: {
                // The bytes stay valid until the next getChunk: a host reads
                // them before it asks again.
                std::lock_guard hold(chunkReaders);
                EXPECT_FALSE(host.Chunk().empty());
                break;
            }
            default: host.LoadChunk(chunk); break;
        }
    }
}

TEST(Vst2Hostile, TenCallersAndTheAudioThread) {
    TestHost source;
    ASSERT_NE(source.LoadFromModule(), nullptr);
    const std::vector<std::uint8_t> chunk = source.Chunk();

    TestHost host;
    ASSERT_NE(host.LoadFromModule(), nullptr);
    host.Start(48000, 256);
    std::atomic<bool> done{false};
    std::atomic<int> blocks{0};
    std::thread audio([&] {
        std::vector<float> in[2] = {TestSignal(256, 0), TestSignal(256, 1)};
        std::vector<float> out[2] = {std::vector<float>(256), std::vector<float>(256)};
        while (!done.load()) {
            host.Process(in, out);
            ++blocks;
        }
    });
    std::mutex chunkReaders;
    std::vector<std::thread> callers;
    for (int i = 0; i < kCallers; ++i)
        callers.emplace_back([&, i] { HostileCalls(host, i + 1, chunk, chunkReaders); });
    for (std::thread& caller : callers) caller.join();
    done = true;
    audio.join();
    EXPECT_GT(blocks.load(), 0);

    // Still a working effect afterwards.
    AEffect* effect = host.Effect();
    effect->setParameter(effect, 3, 0.5f);
    EXPECT_FLOAT_EQ(effect->getParameter(effect, 3), 0.5f);
}

}  // namespace
}  // namespace Vst2Test
