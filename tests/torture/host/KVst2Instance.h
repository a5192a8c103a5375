#pragma once
// One plug-in instance driven through its AEffect record, with an audio
// thread of its own that processes the blocks the schedule posts while the
// schedule's thread (the host's user-interface thread) keeps calling the
// dispatcher. Every block is checked as it leaves the plug-in.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "KStateShape.h"
#include "KTortureCounters.h"
#include "KTortureFailure.h"
#include "KTortureRandom.h"
#include "hosts/vst2/abi/VstEffect.h"
#include "hosts/vst2/abi/VstEvents.h"
#include "hosts/vst2/abi/VstTimeInfo.h"

using KVst2Entry = Vst2::AEffect* (*)(Vst2::audioMasterCallback);

class KVst2Instance {
public:
    static constexpr int kMaxBlock = 8192;
    static constexpr int kChannels = 2;

    KVst2Instance(KVst2Entry entry, int index, KTortureFailure& failure, KTortureCounters& counters);
    ~KVst2Instance();
    KVst2Instance(const KVst2Instance&) = delete;
    KVst2Instance& operator=(const KVst2Instance&) = delete;

    Vst2::AEffect& Effect() noexcept { return *m_effect; }
    int Index() const noexcept { return m_index; }

    // Host calls from the user-interface thread.
    Vst2::VstIntPtr Dispatch(Vst2::VstInt32 opcode, Vst2::VstInt32 index = 0, Vst2::VstIntPtr value = 0,
                             void* ptr = nullptr, float opt = 0);
    void SetParameter(int index, float value);
    float GetParameter(int index);
    std::vector<std::uint8_t> SaveState();
    // Loads a state and follows what it set.
    void LoadState(const std::vector<std::uint8_t>& state);
    // Sample rate and block size with the instance suspended, as hosts do.
    void Reconfigure(float sampleRate, int blockSize);
    void SetSampleRateWhileRunning(float sampleRate);
    void Suspend();
    void Resume();

    // Queues `count` blocks for the audio thread; their sizes, signals and
    // MIDI events come from `seed`. Failures are reported under `step`.
    void PostBlocks(std::uint64_t step, std::uint64_t seed, int count);
    // Waits until the audio thread has processed everything posted.
    void Drain();

    // Compares the latency the instance reports with the delay of an
    // impulse through it (depths at 0, so the signal passes unchanged
    // through the effect). Runs on the calling thread; drains first.
    void CheckLatency();

private:
    struct BlockJob {
        std::uint64_t step;
        std::uint64_t seed;
        int count;
    };

    static Vst2::VstIntPtr Callback(Vst2::AEffect* effect, Vst2::VstInt32 opcode, Vst2::VstInt32 index,
                                    Vst2::VstIntPtr value, void* ptr, float opt);
    Vst2::VstIntPtr Answer(Vst2::VstInt32 opcode);
    void AudioThread();
    void RunJob(const BlockJob& job);
    void ProcessBlock(std::uint64_t step, KTortureRandom& random);
    void SendMidi(KTortureRandom& random, int frames);
    int ProcessSilently(const float* impulse, int frames, std::vector<float>& collected);
    void FollowShape(const KStateShape& shape);

    KVst2Entry m_entry;
    int m_index;
    KTortureFailure& m_failure;
    KTortureCounters& m_counters;
    Vst2::AEffect* m_effect = nullptr;

    // Set from the user-interface thread while suspended, read by the audio
    // thread.
    std::atomic<int> m_blockSize{512};
    std::atomic<float> m_sampleRate{44100};
    // The shape in force as far as the host knows; during a state load the
    // union of the old and the new one.
    KStateShape m_shape;  // user-interface thread
    std::atomic<int> m_boundUpsampling{1};
    std::atomic<bool> m_boundCompensation{false};

    // Audio thread only.
    std::vector<float> m_input[kChannels];
    std::vector<float> m_output[kChannels];
    Vst2::VstTimeInfo m_time{};
    double m_signalPhase = 0;

    std::mutex m_jobsLock;
    std::condition_variable m_jobsChanged;
    std::deque<BlockJob> m_jobs;
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_audioThread;
};
