#include "plugin/pipeline/KChannelStage.h"

#include <algorithm>
#include <cstring>

#include "plugin/core/KAudioPlugin.h"
#include "plugin/pipeline/KChannelModes.h"

namespace {

void EncodeMidSide(float* left, float* right, int sampleCount) noexcept {
    for (int i = 0; i < sampleCount; ++i) {
        const float l = left[i], r = right[i];
        left[i] = (l + r) * 0.5f;
        right[i] = (l - r) * 0.5f;
    }
}

void DecodeMidSide(float* mid, float* side, int sampleCount) noexcept {
    for (int i = 0; i < sampleCount; ++i) {
        const float m = mid[i], s = side[i];
        mid[i] = m + s;
        side[i] = m - s;
    }
}

void Invert(float* samples, int sampleCount) noexcept {
    for (int i = 0; i < sampleCount; ++i) samples[i] = -samples[i];
}

// The channels that surround mode selects from.
int SurroundChannels(const KChannelStage::Layout& layout) noexcept {
    return std::clamp(std::min(layout.outputChannels, layout.hostChannels), 0, KPipelineSettings::kSurroundChannels);
}

}  // namespace

// A host bus with fewer channels repeats the buffer of the channel before
// (KAudioPlugin::FixAudioBuffers): such a channel is the same buffer and is
// written once.
bool KChannelStage::RepeatsPrevious(const Pointers& channels, int channel) noexcept {
    return channel > 0 && channels[std::size_t(channel)] == channels[std::size_t(channel - 1)];
}

int KChannelStage::EnabledSurroundChannels(const Layout& layout) noexcept {
    const int channels = SurroundChannels(layout);
    return int(std::count(layout.surroundEnabled.begin(), layout.surroundEnabled.begin() + channels, true));
}

void KChannelStage::Configure(const Layout& layout) noexcept {
    m_layout = layout;
    m_layout.outputChannels = std::clamp(layout.outputChannels, 0, kMaxChannels);
    m_layout.inputChannels = std::clamp(layout.inputChannels, m_layout.outputChannels, kMaxChannels);
    m_surroundCount = EnabledSurroundChannels(m_layout);
}

void KChannelStage::SetDryDelay(int delay) {
    for (KDryDelayLine& line : m_dryLines) line.SetDelay(delay);
}

void KChannelStage::ClearDelayLines() noexcept {
    for (KDryDelayLine& line : m_dryLines) line.Clear();
}

void KChannelStage::Run(float** inputs, float** outputs, int sampleCount, double position, int subBlockLimit,
                        int interpolationLength, bool mixInputs) noexcept {
    m_plugin.PrepareForProcessingOnce(inputs, outputs, sampleCount);
    std::copy_n(inputs, m_layout.inputChannels, m_inputs.begin());
    std::copy_n(outputs, m_layout.outputChannels, m_outputs.begin());
    std::copy_n(inputs, m_layout.inputChannels, m_effectInputs.begin());
    std::copy_n(outputs, m_layout.outputChannels, m_effectOutputs.begin());

    const bool coded = Encode(sampleCount);
    if (m_layout.mode == KChannelModes::Surround) SelectSurroundChannels(sampleCount);
    else PassThroughOuterChannels(sampleCount);

    // With every surround channel left out the effect has nothing to
    // process: its first channel pointers are still those of channel 0,
    // which was passed on dry.
    if (m_layout.mode != KChannelModes::Surround || m_surroundCount > 0)
        ProcessInPieces(sampleCount, position, subBlockLimit, interpolationLength);

    if (coded) Decode(sampleCount);
    else CopyFirstToSecond(sampleCount);
    if (mixInputs) MixInputs(coded, sampleCount);
}

// Codes the stereo pair of every input bus for the channel mode; false when
// nothing was coded (modes 0 and 7, a mono input, a mono output).
bool KChannelStage::Encode(int sampleCount) noexcept {
    const int mode = m_layout.mode;
    const int perBus = m_layout.channelsPerBus;
    if (mode == KChannelModes::LeftRight || mode == KChannelModes::Surround || perBus < 2) return false;
    if (m_inputs[0] == m_inputs[1] || m_outputs[0] == m_outputs[1]) return false;
    const bool midSide = KChannelModes::Describe(mode).midSide;
    const bool swapped = mode == KChannelModes::Right || mode == KChannelModes::Side;
    for (int bus = 0; bus < m_layout.inputBuses; ++bus) {
        const std::size_t l = std::size_t(bus * perBus), r = l + 1;
        if (midSide) EncodeMidSide(m_inputs[l], m_inputs[r], sampleCount);
        if (mode == KChannelModes::LeftRightNegative) Invert(m_inputs[r], sampleCount);
        // The effect's first channel of the bus becomes the right (side) one.
        if (swapped) {
            std::swap(m_effectInputs[l], m_effectInputs[r]);
            if (int(r) < m_layout.outputChannels) std::swap(m_effectOutputs[l], m_effectOutputs[r]);
        }
    }
    return true;
}

// Modes 1 to 4 process one channel of the pair: the other one is passed on
// dry, delayed like the processed one. Then mid/side is decoded back.
void KChannelStage::Decode(int sampleCount) noexcept {
    const int mode = m_layout.mode;
    const int perBus = m_layout.channelsPerBus;
    const int buses = std::min(m_layout.outputBuses, m_layout.inputBuses);
    for (int bus = 0; bus < buses; ++bus) {
        const int l = bus * perBus, r = l + 1;
        switch (mode) {
            case KChannelModes::Left: PassOn(r, sampleCount, false); break;
            case KChannelModes::Right: PassOn(l, sampleCount, false); break;
            case KChannelModes::Mid: PassOn(r, sampleCount, true); break;
            case KChannelModes::Side: PassOn(l, sampleCount, true); break;
            default: break;
        }
        if (KChannelModes::Describe(mode).midSide)
            DecodeMidSide(m_outputs[std::size_t(l)], m_outputs[std::size_t(r)], sampleCount);
        // Mode 6 leaves the right channel inverted.
    }
}

// The flag tells the plug-in that the channel holds a mid or side signal.
void KChannelStage::PassOn(int channel, int sampleCount, bool coded) noexcept {
    const std::size_t c = std::size_t(channel);
    m_dryLines[c].Process(m_inputs[c], m_outputs[c], sampleCount);
    m_plugin.ProcessPassThroughChannel(m_outputs[c], sampleCount, coded);
}

// Surround mode with some channels disabled: the effect sees only the
// enabled ones, packed in order; disabled ones are passed on dry.
void KChannelStage::SelectSurroundChannels(int sampleCount) noexcept {
    const int channels = SurroundChannels(m_layout);
    if (m_surroundCount == channels) return;
    int packed = 0;
    for (int c = 0; c < channels; ++c) {
        const std::size_t i = std::size_t(c);
        if (m_layout.surroundEnabled[i]) {
            m_effectInputs[std::size_t(packed)] = m_inputs[i];
            m_effectOutputs[std::size_t(packed)] = m_outputs[i];
            ++packed;
        } else if (!RepeatsPrevious(m_outputs, c)) {
            // In place too: the delay keeps the channel aligned.
            m_dryLines[i].Process(m_inputs[i], m_outputs[i], sampleCount);
        }
    }
}

// A bus of more than two channels in one of the stereo modes: the channels
// beyond the pair pass through dry.
void KChannelStage::PassThroughOuterChannels(int sampleCount) noexcept {
    const int perBus = m_layout.channelsPerBus;
    if (perBus <= 2) return;
    for (int c = 0; c < m_layout.outputChannels; ++c)
        if (c % perBus >= 2 && !RepeatsPrevious(m_outputs, c))
            m_dryLines[std::size_t(c)].Process(m_inputs[std::size_t(c)], m_outputs[std::size_t(c)], sampleCount);
}

void KChannelStage::ProcessInPieces(int sampleCount, double position, int subBlockLimit,
                                    int interpolationLength) noexcept {
    int limit = subBlockLimit;
    bool interpolating = false;
    if (interpolationLength < sampleCount) interpolating = m_plugin.InterpolationPrepare(sampleCount);
    else m_plugin.InterpolationTakeOver();
    if (interpolating && interpolationLength <= limit) limit = interpolationLength;
    if (limit < 1) limit = kDefaultSubBlock;

    KTransportInfo& transport = m_plugin.Transport();
    transport.piecePosition = position;
    if (limit >= sampleCount) {
        m_plugin.Process(m_effectInputs.data(), m_effectOutputs.data(), sampleCount);
    } else {
        const double beatsPerSample = transport.playing ? transport.tempo / (m_layout.sampleRate * 60) : 0;
        Pointers inputs = m_effectInputs, outputs = m_effectOutputs;
        for (int done = 0; done < sampleCount;) {
            const int piece = std::min(limit, sampleCount - done);
            transport.piecePosition = position + done * beatsPerSample;
            m_plugin.Process(inputs.data(), outputs.data(), piece);
            if (interpolating) m_plugin.InterpolationProcess(piece);
            for (int c = 0; c < m_layout.inputChannels; ++c) inputs[std::size_t(c)] += piece;
            for (int c = 0; c < m_layout.outputChannels; ++c) outputs[std::size_t(c)] += piece;
            done += piece;
        }
    }
    if (interpolating) m_plugin.InterpolationFinish();
}

// Modes 1 to 4 without coding (a mono input) process only the first
// channel; a separate second output gets the same result.
void KChannelStage::CopyFirstToSecond(int sampleCount) noexcept {
    const int mode = m_layout.mode;
    if (mode < KChannelModes::Left || mode > KChannelModes::Side || m_layout.outputChannels < 2) return;
    if (m_outputs[0] != m_outputs[1]) std::memcpy(m_outputs[1], m_outputs[0], sizeof(float) * std::size_t(sampleCount));
}

// The dry input, uncoded again where the stage coded it in place.
void KChannelStage::MixInputs(bool coded, int sampleCount) noexcept {
    const int perBus = m_layout.channelsPerBus;
    if (coded)
        for (int bus = 0; bus < m_layout.inputBuses; ++bus) {
            const std::size_t l = std::size_t(bus * perBus), r = l + 1;
            if (KChannelModes::Describe(m_layout.mode).midSide) DecodeMidSide(m_inputs[l], m_inputs[r], sampleCount);
            if (m_layout.mode == KChannelModes::LeftRightNegative) Invert(m_inputs[r], sampleCount);
        }
    for (int c = 0; c < m_layout.outputChannels; ++c) {
        const float* in = m_inputs[std::size_t(c)];
        float* out = m_outputs[std::size_t(c)];
        if (RepeatsPrevious(m_outputs, c)) continue;
        for (int i = 0; i < sampleCount; ++i) out[i] += in[i];
    }
}
