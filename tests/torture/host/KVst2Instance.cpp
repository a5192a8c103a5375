#include "KVst2Instance.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "KSignals.h"
#include "hosts/vst2/abi/VstOpcodes.h"

using namespace Vst2;

namespace {

// The instance being created, for the callbacks that come before its
// record names it.
thread_local KVst2Instance* t_creating = nullptr;
thread_local bool t_onAudioThread = false;

// The input peak every signal keeps to; the output bound scales with it.
constexpr double kInputPeak = 1.0;

}  // namespace

KVst2Instance::KVst2Instance(KVst2Entry entry, int index, KTortureFailure& failure, KTortureCounters& counters)
    : m_entry(entry), m_index(index), m_failure(failure), m_counters(counters) {
    t_creating = this;
    m_effect = entry(&KVst2Instance::Callback);
    t_creating = nullptr;
    if (!m_effect || m_effect->magic != kEffectMagic) throw std::runtime_error("VSTPluginMain gave no effect");
    m_effect->resvd1 = reinterpret_cast<VstIntPtr>(this);
    for (int c = 0; c < kChannels; ++c) {
        m_input[c].assign(kMaxBlock, 0.0f);
        m_output[c].assign(kMaxBlock, 0.0f);
    }
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, m_sampleRate.load());
    Dispatch(effSetBlockSize, 0, m_blockSize.load());
    Dispatch(effMainsChanged, 0, 1);
    FollowShape(ShapeOfState(SaveState(), m_shape));
    m_audioThread = std::thread([this] { AudioThread(); });
}

KVst2Instance::~KVst2Instance() {
    {
        std::lock_guard hold(m_jobsLock);
        m_stopping = true;
    }
    m_jobsChanged.notify_all();
    m_audioThread.join();
    Dispatch(effMainsChanged, 0, 0);
    Dispatch(effClose);
}

VstIntPtr KVst2Instance::Callback(AEffect* effect, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    KVst2Instance* instance =
        effect && effect->resvd1 ? reinterpret_cast<KVst2Instance*>(effect->resvd1) : t_creating;
    return instance ? instance->Answer(opcode) : 0;
}

VstIntPtr KVst2Instance::Answer(VstInt32 opcode) {
    m_counters.callbacks.fetch_add(1, std::memory_order_relaxed);
    switch (opcode) {
        case audioMasterVersion: return kVstVersion;
        // The transport belongs to the audio thread; elsewhere there is none.
        case audioMasterGetTime: return t_onAudioThread ? reinterpret_cast<VstIntPtr>(&m_time) : 0;
        case audioMasterGetSampleRate: return VstIntPtr(m_sampleRate.load());
        case audioMasterGetBlockSize: return m_blockSize.load();
        case audioMasterGetCurrentProcessLevel: return t_onAudioThread ? 2 : 1;
        case audioMasterSizeWindow: return 1;
        default: return 0;
    }
}

VstIntPtr KVst2Instance::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    m_counters.Call();
    return m_effect->dispatcher(m_effect, opcode, index, value, ptr, opt);
}

void KVst2Instance::SetParameter(int index, float value) {
    m_counters.Call();
    m_effect->setParameter(m_effect, index, value);
}

float KVst2Instance::GetParameter(int index) {
    m_counters.Call();
    return m_effect->getParameter(m_effect, index);
}

std::vector<std::uint8_t> KVst2Instance::SaveState() {
    void* data = nullptr;
    const VstIntPtr size = Dispatch(effGetChunk, 0, 0, &data);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return size > 0 && bytes ? std::vector<std::uint8_t>(bytes, bytes + size) : std::vector<std::uint8_t>();
}

void KVst2Instance::LoadState(const std::vector<std::uint8_t>& state) {
    // Blocks running during the load are held to the looser of both shapes.
    const KStateShape before = m_shape;
    FollowShape(Union(before, ShapeOfState(state, before)));
    Dispatch(effSetChunk, 0, VstIntPtr(state.size()), const_cast<std::uint8_t*>(state.data()));
    m_counters.stateLoads.fetch_add(1, std::memory_order_relaxed);
    // What the plug-in took from the block is what it saves now.
    FollowShape(ShapeOfState(SaveState(), before));
}

void KVst2Instance::FollowShape(const KStateShape& shape) {
    m_shape = shape;
    m_boundUpsampling.store(shape.processing.upsampling, std::memory_order_release);
    m_boundCompensation.store(shape.processing.gainCompensation, std::memory_order_release);
}

void KVst2Instance::Suspend() {
    Drain();
    Dispatch(effStopProcess);
    Dispatch(effMainsChanged, 0, 0);
}

void KVst2Instance::Resume() {
    Dispatch(effMainsChanged, 0, 1);
    Dispatch(effStartProcess);
}

void KVst2Instance::Reconfigure(float sampleRate, int blockSize) {
    Suspend();
    m_sampleRate.store(sampleRate);
    m_blockSize.store(blockSize);
    Dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    Dispatch(effSetBlockSize, 0, blockSize);
    Resume();
}

void KVst2Instance::SetSampleRateWhileRunning(float sampleRate) {
    m_sampleRate.store(sampleRate);
    Dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
}

void KVst2Instance::PostBlocks(std::uint64_t step, std::uint64_t seed, int count) {
    {
        std::lock_guard hold(m_jobsLock);
        m_jobs.push_back({step, seed, count});
    }
    m_jobsChanged.notify_all();
}

void KVst2Instance::Drain() {
    std::unique_lock hold(m_jobsLock);
    m_jobsChanged.wait(hold, [&] { return m_jobs.empty() && !m_busy; });
}

void KVst2Instance::AudioThread() {
    t_onAudioThread = true;
    std::unique_lock hold(m_jobsLock);
    for (;;) {
        m_jobsChanged.wait(hold, [&] { return m_stopping || !m_jobs.empty(); });
        if (m_jobs.empty()) return;
        const BlockJob job = m_jobs.front();
        m_jobs.pop_front();
        m_busy = true;
        hold.unlock();
        RunJob(job);
        hold.lock();
        m_busy = false;
        m_jobsChanged.notify_all();
    }
}

void KVst2Instance::RunJob(const BlockJob& job) {
    KTortureRandom random(job.seed);
    for (int i = 0; i < job.count && !m_failure.Failed(); ++i) ProcessBlock(job.step, random);
}

void KVst2Instance::ProcessBlock(std::uint64_t step, KTortureRandom& random) {
    const int limit = m_blockSize.load();
    const int frames = random.Chance(0.6) ? limit : random.Chance(0.3) ? 1 : random.Between(1, limit);
    const double rate = m_sampleRate.load();
    for (int c = 0; c < kChannels; ++c) FillSignal(random, m_input[c].data(), frames, m_signalPhase, rate);
    m_signalPhase = std::fmod(m_signalPhase + frames / rate, 1.0);

    m_time.sampleRate = rate;
    m_time.samplePos += frames;
    m_time.tempo = 60 + random.Below(180);
    m_time.ppqPos = m_time.samplePos / rate * m_time.tempo / 60;
    m_time.flags = kVstTempoValid | kVstPpqPosValid | (random.Chance(0.8) ? kVstTransportPlaying : 0);
    if (random.Chance(0.2)) SendMidi(random, frames);

    const KProcessingShape before{m_boundCompensation.load(), m_boundUpsampling.load()};
    float* inputs[kChannels] = {m_input[0].data(), m_input[1].data()};
    float* outputs[kChannels] = {m_output[0].data(), m_output[1].data()};
    const int way = random.Below(10);
    if (way == 0) {
        // In place, as many hosts process.
        for (int c = 0; c < kChannels; ++c) std::copy_n(m_input[c].data(), frames, m_output[c].data());
        inputs[0] = outputs[0];
        inputs[1] = outputs[1];
    }
    if (way == 1) inputs[1] = nullptr;  // a mono host bus
    m_counters.Call();
    if (way == 2) {
        // The accumulating entry adds to what the host holds.
        for (int c = 0; c < kChannels; ++c) std::fill_n(m_output[c].data(), frames, 0.0f);
        m_effect->process(m_effect, inputs, outputs, frames);
    } else {
        m_effect->processReplacing(m_effect, inputs, outputs, frames);
    }
    m_counters.blocks.fetch_add(1, std::memory_order_relaxed);
    m_counters.frames.fetch_add(std::uint64_t(frames), std::memory_order_relaxed);

    const KProcessingShape after{m_boundCompensation.load(), m_boundUpsampling.load()};
    const KProcessingShape shape{before.gainCompensation || after.gainCompensation,
                                 before.upsampling != 1 ? before.upsampling : after.upsampling};
    if (auto fault = CheckBlock(outputs, kChannels, frames, OutputBound(kInputPeak, shape)))
        m_failure.Report(m_index, "output of a block queued at step " + std::to_string(step) + ": " + *fault);
}

void KVst2Instance::SendMidi(KTortureRandom& random, int frames) {
    constexpr int kMostEvents = 8;
    VstMidiEvent midi[kMostEvents]{};
    // Declared with two slots; hosts allocate as many as they send.
    struct {
        VstInt32 numEvents;
        VstIntPtr reserved;
        VstEvent* events[kMostEvents];
    } list{};
    const int count = random.Between(1, kMostEvents);
    for (int i = 0; i < count; ++i) {
        VstMidiEvent& event = midi[i];
        event.type = kVstMidiType;
        event.byteSize = sizeof(VstMidiEvent);
        event.deltaFrames = random.Chance(0.9) ? random.Below(frames) : random.Between(-4, frames + 4);
        event.midiData[0] = char(random.Between(0x80, 0xFF));
        event.midiData[1] = char(random.Chance(0.95) ? random.Below(128) : random.Below(256));
        event.midiData[2] = char(random.Chance(0.95) ? random.Below(128) : random.Below(256));
        list.events[i] = reinterpret_cast<VstEvent*>(&event);
    }
    list.numEvents = count;
    Dispatch(effProcessEvents, 0, 0, &list);
}

int KVst2Instance::ProcessSilently(const float* impulse, int frames, std::vector<float>& collected) {
    for (int c = 0; c < kChannels; ++c) {
        if (impulse)
            std::copy_n(impulse, frames, m_input[c].data());
        else
            std::fill_n(m_input[c].data(), frames, 0.0f);
    }
    float* inputs[kChannels] = {m_input[0].data(), m_input[1].data()};
    float* outputs[kChannels] = {m_output[0].data(), m_output[1].data()};
    m_counters.Call();
    m_effect->processReplacing(m_effect, inputs, outputs, frames);
    m_counters.blocks.fetch_add(1, std::memory_order_relaxed);
    // Channel 1 may leave inverted (channel mode "Left + Right (neg)").
    for (int i = 0; i < frames; ++i) collected.push_back(std::max(std::fabs(m_output[0][std::size_t(i)]),
                                                                  std::fabs(m_output[1][std::size_t(i)])));
    return frames;
}
