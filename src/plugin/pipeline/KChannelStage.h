#pragma once
#include <array>

#include "plugin/pipeline/KDryDelayLine.h"
#include "plugin/pipeline/KPipelineSettings.h"

class KAudioPlugin;

// The part of the pipeline that runs at the internal rate around the
// effect: channel-mode coding, pass-through channels, surround channel
// selection and the cutting of a block into sub-blocks (with parameter
// interpolation across them).
class KChannelStage {
public:
    static constexpr int kMaxChannels = 16;  // two buses of eight
    static constexpr int kDefaultSubBlock = 256;

    struct Layout {
        int mode = 0;
        int channelsPerBus = 2;
        int inputBuses = 1;
        int outputBuses = 1;
        int inputChannels = 2;   // entries of the input pointer arrays (never fewer than outputChannels)
        int outputChannels = 2;  // entries of the output pointer arrays
        std::array<bool, KPipelineSettings::kSurroundChannels> surroundEnabled{};
        // Channels the host has outputs for; those after them repeat its
        // last buffer and are no channels of their own.
        int hostChannels = KPipelineSettings::kSurroundChannels;
        double sampleRate = 44100;  // internal rate
    };

    explicit KChannelStage(KAudioPlugin& plugin) noexcept : m_plugin(plugin) {}

    // Number of channels the effect sees in surround mode: the enabled ones
    // among the first eight output channels that the host has.
    static int EnabledSurroundChannels(const Layout& layout) noexcept;

    void Configure(const Layout& layout) noexcept;
    // Pass-through channels are delayed by the effect's latency; the lines
    // start empty when it changed (allocates).
    void SetDryDelay(int delay);
    const Layout& CurrentLayout() const noexcept { return m_layout; }
    void ClearDelayLines() noexcept;

    // One block of `sampleCount` samples at the internal rate. The inputs
    // may be coded in place. `position` is the transport position of the
    // block's first sample; `subBlockLimit` the longest piece the plug-in
    // asked for, `interpolationLength` the longest piece while parameters
    // are interpolated.
    void Run(float** inputs, float** outputs, int sampleCount, double position, int subBlockLimit,
             int interpolationLength, bool mixInputs) noexcept;

private:
    using Pointers = std::array<float*, kMaxChannels>;

    static bool RepeatsPrevious(const Pointers& channels, int channel) noexcept;
    bool Encode(int sampleCount) noexcept;
    void Decode(int sampleCount) noexcept;
    void PassOn(int channel, int sampleCount, bool coded) noexcept;
    void SelectSurroundChannels(int sampleCount) noexcept;
    void PassThroughOuterChannels(int sampleCount) noexcept;
    void ProcessInPieces(int sampleCount, double position, int subBlockLimit, int interpolationLength) noexcept;
    void CopyFirstToSecond(int sampleCount) noexcept;
    void MixInputs(bool coded, int sampleCount) noexcept;

    KAudioPlugin& m_plugin;
    Layout m_layout;
    int m_surroundCount = 0;
    // The buffers as the host bus orders them, and as the effect sees them
    // (swapped or compacted).
    Pointers m_inputs{};
    Pointers m_outputs{};
    Pointers m_effectInputs{};
    Pointers m_effectOutputs{};
    std::array<KDryDelayLine, kMaxChannels> m_dryLines;
};
