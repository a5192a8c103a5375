#include "KTortureInstance.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "KSignals.h"

namespace {

thread_local bool t_onAudioThread = false;

// The input peak every signal keeps to; the output bound scales with it.
constexpr double kInputPeak = 1.0;

}  // namespace

KTortureInstance::KTortureInstance(int index, KTortureFailure& failure, KTortureCounters& counters)
    : m_index(index), m_failure(failure), m_counters(counters) {
    for (int c = 0; c < kChannels; ++c) {
        m_input[c].assign(kMaxBlock, 0.0f);
        m_output[c].assign(kMaxBlock, 0.0f);
    }
}

KTortureInstance::~KTortureInstance() = default;

bool KTortureInstance::OnAudioThread() noexcept { return t_onAudioThread; }

void KTortureInstance::StartAudio() {
    FollowShape(ShapeOfState(SaveState(), m_shape));
    m_audioThread = std::thread([this] { AudioThread(); });
}

void KTortureInstance::StopAudio() {
    {
        std::lock_guard hold(m_jobsLock);
        m_stopping = true;
    }
    m_jobsChanged.notify_all();
    if (m_audioThread.joinable()) m_audioThread.join();
}

void KTortureInstance::LoadState(const std::vector<std::uint8_t>& state) {
    // Blocks running during the load are held to the looser of both shapes.
    const KStateShape before = m_shape;
    FollowShape(Union(before, ShapeOfState(state, before)));
    LoadStateBytes(state);
    m_counters.stateLoads.fetch_add(1, std::memory_order_relaxed);
    // What the plug-in took from the block is what it saves now.
    FollowShape(ShapeOfState(SaveState(), before));
}

void KTortureInstance::FollowShape(const KStateShape& shape) {
    m_shape = shape;
    m_boundUpsampling.store(shape.processing.upsampling, std::memory_order_release);
    m_boundCompensation.store(shape.processing.gainCompensation, std::memory_order_release);
    std::lock_guard hold(m_descriptionLock);
    m_description = Describe(shape);
}

std::string KTortureInstance::Description() const {
    std::lock_guard hold(m_descriptionLock);
    return m_description;
}

void KTortureInstance::Suspend() {
    Drain();
    Deactivate();
}

void KTortureInstance::Resume() { Activate(); }

void KTortureInstance::Reconfigure(float sampleRate, int blockSize) {
    Suspend();
    m_sampleRate.store(sampleRate);
    m_blockSize.store(blockSize);
    ApplySetup(sampleRate, blockSize);
    Resume();
}

void KTortureInstance::SetSampleRateWhileRunning(float sampleRate) {
    m_sampleRate.store(sampleRate);
    ApplySampleRateWhileRunning(sampleRate);
}

void KTortureInstance::PostBlocks(std::uint64_t step, std::uint64_t seed, int count) {
    {
        std::lock_guard hold(m_jobsLock);
        m_jobs.push_back({step, seed, count});
    }
    m_jobsChanged.notify_all();
}

void KTortureInstance::Drain() {
    std::unique_lock hold(m_jobsLock);
    m_jobsChanged.wait(hold, [&] { return m_jobs.empty() && !m_busy; });
}

void KTortureInstance::AudioThread() {
    t_onAudioThread = true;
    std::unique_lock hold(m_jobsLock);
    for (;;) {
        m_jobsChanged.wait(hold, [&] { return m_stopping || !m_jobs.empty(); });
        if (m_jobs.empty()) return;
        const BlockJob job = m_jobs.front();
        m_jobs.pop_front();
        m_busy = true;
        hold.unlock();
        KTortureRandom random(job.seed);
        for (int i = 0; i < job.count && !m_failure.Failed(); ++i) ProcessBlock(job.step, random);
        hold.lock();
        m_busy = false;
        m_jobsChanged.notify_all();
    }
}

void KTortureInstance::ProcessBlock(std::uint64_t step, KTortureRandom& random) {
    const int limit = m_blockSize.load();
    const int frames = random.Chance(0.6) ? limit : random.Chance(0.3) ? 1 : random.Between(1, limit);
    const double rate = m_sampleRate.load();
    for (int c = 0; c < kChannels; ++c) FillSignal(random, m_input[c].data(), frames, m_signalPhase, rate);
    m_signalPhase = std::fmod(m_signalPhase + frames / rate, 1.0);

    const KProcessingShape before{m_boundCompensation.load(), m_boundUpsampling.load()};
    float* inputs[kChannels] = {m_input[0].data(), m_input[1].data()};
    float* outputs[kChannels] = {m_output[0].data(), m_output[1].data()};
    static constexpr Buffers kWays[] = {Buffers::InPlace, Buffers::MonoInput, Buffers::Accumulating};
    const Buffers buffers = random.Chance(0.7) ? Buffers::Separate : random.Pick(kWays);
    if (buffers == Buffers::InPlace) {
        for (int c = 0; c < kChannels; ++c) std::copy_n(m_input[c].data(), frames, m_output[c].data());
        std::copy_n(outputs, kChannels, inputs);
    }
    if (buffers == Buffers::MonoInput) inputs[1] = nullptr;
    if (buffers == Buffers::Accumulating)
        for (int c = 0; c < kChannels; ++c) std::fill_n(m_output[c].data(), frames, 0.0f);
    ProcessAudio(inputs, outputs, frames, buffers, true, random);
    m_counters.blocks.fetch_add(1, std::memory_order_relaxed);
    m_counters.frames.fetch_add(std::uint64_t(frames), std::memory_order_relaxed);

    const KProcessingShape after{m_boundCompensation.load(), m_boundUpsampling.load()};
    const KProcessingShape shape{before.gainCompensation || after.gainCompensation,
                                 before.upsampling != 1 ? before.upsampling : after.upsampling};
    if (auto fault = CheckBlock(outputs, kChannels, frames, OutputBound(kInputPeak, shape)))
        m_failure.Report(m_index, "output of a block queued at step " + std::to_string(step) + ": " + *fault + " (" +
                                      Description() + ")");
}

void KTortureInstance::ProcessQuietly(const float* input, int frames, std::vector<float>& collected) {
    for (int c = 0; c < kChannels; ++c) {
        if (input)
            std::copy_n(input, frames, m_input[c].data());
        else
            std::fill_n(m_input[c].data(), frames, 0.0f);
    }
    float* inputs[kChannels] = {m_input[0].data(), m_input[1].data()};
    float* outputs[kChannels] = {m_output[0].data(), m_output[1].data()};
    KTortureRandom unused(0);
    ProcessAudio(inputs, outputs, frames, Buffers::Separate, false, unused);
    m_counters.blocks.fetch_add(1, std::memory_order_relaxed);
    // Channel 1 may leave inverted (channel mode "Left + Right (neg)").
    for (int i = 0; i < frames; ++i)
        collected.push_back(std::max(std::fabs(m_output[0][std::size_t(i)]), std::fabs(m_output[1][std::size_t(i)])));
}
