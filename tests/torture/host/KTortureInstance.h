#pragma once
// One plug-in instance as the torture host sees it, whatever its format:
// an audio thread of its own processes the blocks the schedule queues,
// while the schedule's thread (the host's user-interface thread) keeps
// calling the instance. Every block is checked as it leaves the plug-in.
// The formats (KVst2Instance, KVst3Instance) say how each host operation
// reaches the plug-in.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "KStateShape.h"
#include "KTortureCounters.h"
#include "KTortureFailure.h"
#include "KTortureRandom.h"

class KHostWindow;

class KTortureInstance {
public:
    static constexpr int kMaxBlock = 8192;
    static constexpr int kChannels = 2;

    KTortureInstance(int index, KTortureFailure& failure, KTortureCounters& counters);
    virtual ~KTortureInstance();
    KTortureInstance(const KTortureInstance&) = delete;
    KTortureInstance& operator=(const KTortureInstance&) = delete;

    int Index() const noexcept { return m_index; }

    // Host operations, from the user-interface thread.
    virtual int ParameterCount() = 0;
    virtual std::string ParameterName(int index) = 0;
    virtual void SetParameter(int index, double value) = 0;
    virtual double GetParameter(int index) = 0;
    // Names, labels and value texts, as a host's parameter list reads them.
    virtual void ReadParameterTexts(int index) = 0;
    // A text typed into the host's field for the parameter.
    virtual void TypeText(int index, const std::string& text) = 0;
    virtual std::vector<std::uint8_t> SaveState() = 0;
    // Loads a state and follows what it set.
    void LoadState(const std::vector<std::uint8_t>& state);
    virtual void SetBypass(bool bypass) = 0;
    void Suspend();
    void Resume();
    // Sample rate and block size with the instance suspended, as hosts do.
    void Reconfigure(float sampleRate, int blockSize);
    // What some hosts do without suspending first.
    void SetSampleRateWhileRunning(float sampleRate);
    virtual void SwitchProgram(KTortureRandom& random) = 0;
    // Capability, name and tail queries.
    virtual void Queries(KTortureRandom& random) = 0;
    // Opens the editor in the host's window, idles it, mostly closes it.
    virtual void ExerciseEditor(KTortureRandom& random, KHostWindow& window) = 0;

    // Queues `count` blocks for the audio thread; their sizes, signals and
    // events come from `seed`.
    void PostBlocks(std::uint64_t step, std::uint64_t seed, int count);
    // Waits until the audio thread has processed everything queued.
    void Drain();

    // Compares the latency the instance reports with the delay of an
    // impulse through it (depths at 0, so the signal passes the effect
    // unchanged). Runs on the calling thread; drains first.
    void CheckLatency();

    // What one impulse through the instance showed.
    struct KImpulseDelay {
        int samples = 0;  // where the loudest output came
        int notFiniteAt = -1;  // the first output that is not a number, if any
    };

protected:
    // How a block's buffers are handed over.
    enum class Buffers { Separate, InPlace, MonoInput, Accumulating };

    // The derived instance calls these at the end of its construction and
    // at the start of its destruction.
    void StartAudio();
    void StopAudio();

    // Processes one block; with `events`, also hands over the MIDI events
    // and parameter changes the format carries with its blocks.
    virtual void ProcessAudio(float** inputs, float** outputs, int frames, Buffers buffers, bool events,
                              KTortureRandom& random) = 0;
    virtual int ReportedLatency() = 0;
    virtual void Deactivate() = 0;
    virtual void Activate() = 0;
    virtual void ApplySetup(float sampleRate, int blockSize) = 0;
    virtual void ApplySampleRateWhileRunning(float sampleRate) = 0;
    virtual void LoadStateBytes(const std::vector<std::uint8_t>& state) = 0;

    int BlockSize() const noexcept { return m_blockSize.load(); }
    float SampleRate() const noexcept { return m_sampleRate.load(); }
    KTortureCounters& Counters() noexcept { return m_counters; }
    static bool OnAudioThread() noexcept;

private:
    struct BlockJob {
        std::uint64_t step;
        std::uint64_t seed;
        int count;
    };

    void AudioThread();
    void ProcessBlock(std::uint64_t step, KTortureRandom& random);
    void ProcessQuietly(const float* input, int frames, std::vector<float>& collected);
    void FollowShape(const KStateShape& shape);
    std::string Description() const;
    std::vector<int> DepthParameters();
    KImpulseDelay MeasureImpulseDelay();
    void ReportProbes(const std::vector<KImpulseDelay>& probes, int reported, int tolerance);

    int m_index;
    KTortureFailure& m_failure;
    KTortureCounters& m_counters;

    // Set from the user-interface thread, read by the audio thread.
    std::atomic<int> m_blockSize{512};
    std::atomic<float> m_sampleRate{44100};
    // The shape in force as far as the host knows; during a state load the
    // union of the old and the new one.
    KStateShape m_shape;  // user-interface thread
    std::atomic<int> m_boundUpsampling{1};
    std::atomic<bool> m_boundCompensation{false};
    // What failure reports from the audio thread say of the settings.
    mutable std::mutex m_descriptionLock;
    std::string m_description;

    // Audio thread only.
    std::vector<float> m_input[kChannels];
    std::vector<float> m_output[kChannels];
    double m_signalPhase = 0;

    std::mutex m_jobsLock;
    std::condition_variable m_jobsChanged;
    std::deque<BlockJob> m_jobs;
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_audioThread;
};
