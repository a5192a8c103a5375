// Feeds arbitrary bytes to an instance through the VST 3 component entry
// (setState, then the controller's setComponentState), through a stream of
// ours that hands them over in pieces as some hosts read their project
// files. Afterwards the instance must still process finite audio, and the
// state it then saves must restore to itself: saved, loaded and saved
// again, the two blocks are equal.
//
// One instance serves every input; each input starts from the state the
// instance saved when new.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "hosts/common/KHostedPlugin.h"
#include "hosts/common/KLibrary.h"
#include "hosts/vst3/KAudioPluginVST3Adapter.h"

namespace {

constexpr int kFrames = 64;

// A byte stream over memory that reads at most `piece` bytes at a time.
class KFuzzStream final : public vst3::IBStream {
public:
    KFuzzStream(std::vector<std::uint8_t> bytes, std::size_t piece) : m_bytes(std::move(bytes)), m_piece(piece) {}

    vst3::tresult VST3_API queryInterface(const char* iid, void** obj) override {
        const bool known = vst3::IBStream::iid.Matches(iid) || vst3::FUnknown::iid.Matches(iid);
        *obj = known ? this : nullptr;
        return known ? vst3::kResultOk : vst3::kNoInterface;
    }
    vst3::uint32 VST3_API addRef() override { return 1; }
    vst3::uint32 VST3_API release() override { return 1; }

    vst3::tresult VST3_API read(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesRead) override {
        const std::size_t count = std::min({std::size_t(std::max(numBytes, 0)), m_piece, m_bytes.size() - m_position});
        if (count) std::memcpy(buffer, m_bytes.data() + m_position, count);
        m_position += count;
        if (numBytesRead) *numBytesRead = vst3::int32(count);
        return vst3::kResultOk;
    }
    vst3::tresult VST3_API write(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesWritten) override {
        if (numBytes < 0) return vst3::kInvalidArgument;
        const auto* data = static_cast<const std::uint8_t*>(buffer);
        m_bytes.resize(std::max(m_bytes.size(), m_position + std::size_t(numBytes)));
        std::copy_n(data, numBytes, m_bytes.begin() + std::ptrdiff_t(m_position));
        m_position += std::size_t(numBytes);
        if (numBytesWritten) *numBytesWritten = numBytes;
        return vst3::kResultOk;
    }
    vst3::tresult VST3_API seek(vst3::int64 pos, vst3::int32 mode, vst3::int64* result) override {
        const vst3::int64 base = mode == vst3::kIBSeekSet   ? 0
                                 : mode == vst3::kIBSeekCur ? vst3::int64(m_position)
                                                            : vst3::int64(m_bytes.size());
        m_position = std::size_t(std::clamp<vst3::int64>(base + pos, 0, vst3::int64(m_bytes.size())));
        if (result) *result = vst3::int64(m_position);
        return vst3::kResultOk;
    }
    vst3::tresult VST3_API tell(vst3::int64* pos) override {
        if (pos) *pos = vst3::int64(m_position);
        return vst3::kResultOk;
    }

    const std::vector<std::uint8_t>& Bytes() const noexcept { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_piece;
    std::size_t m_position = 0;
};

std::vector<std::uint8_t> Save(KAudioPluginVST3Adapter& adapter) {
    KFuzzStream stream({}, SIZE_MAX);
    if (adapter.getState(&stream) != vst3::kResultOk) return {};
    return stream.Bytes();
}

void Load(KAudioPluginVST3Adapter& adapter, const std::vector<std::uint8_t>& bytes, std::size_t piece = SIZE_MAX) {
    KFuzzStream component(bytes, piece);
    adapter.setState(&component);
    KFuzzStream controller(bytes, piece);
    static_cast<vst3::IEditController&>(adapter).setComponentState(&controller);
}

void ProcessFinite(KAudioPluginVST3Adapter& adapter) {
    std::vector<float> buffers[4];
    for (auto& buffer : buffers) buffer.assign(kFrames, 0.0f);
    for (int i = 0; i < kFrames; ++i) buffers[0][std::size_t(i)] = buffers[1][std::size_t(i)] = float(std::sin(0.05 * i));
    float* inputs[2] = {buffers[0].data(), buffers[1].data()};
    float* outputs[2] = {buffers[2].data(), buffers[3].data()};
    vst3::AudioBusBuffers input{}, output{};
    input.numChannels = output.numChannels = 2;
    input.channelBuffers32 = inputs;
    output.channelBuffers32 = outputs;
    vst3::ProcessData data{};
    data.processMode = vst3::kRealtime;
    data.symbolicSampleSize = vst3::kSample32;
    data.numSamples = kFrames;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &input;
    data.outputs = &output;
    static_cast<vst3::IAudioProcessor&>(adapter).process(data);
    for (int c = 2; c < 4; ++c)
        for (float sample : buffers[c])
            if (!std::isfinite(sample)) std::abort();
}

KAudioPluginVST3Adapter& NewAdapter() {
    KStartLibrarySubsystems();
    auto* adapter = new KAudioPluginVST3Adapter(KHostedPlugin::Create());
    static_cast<vst3::IComponent*>(adapter)->initialize(nullptr);
    vst3::ProcessSetup setup{vst3::kRealtime, vst3::kSample32, kFrames, 44100};
    static_cast<vst3::IAudioProcessor*>(adapter)->setupProcessing(setup);
    static_cast<vst3::IComponent*>(adapter)->setActive(true);
    static_cast<vst3::IAudioProcessor*>(adapter)->setProcessing(true);
    return *adapter;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static KAudioPluginVST3Adapter& adapter = NewAdapter();
    static const std::vector<std::uint8_t> fresh = Save(adapter);
    static bool changed = false;
    if (changed) Load(adapter, fresh);

    // Pieces of 1 to 4096 bytes, from the input's length.
    Load(adapter, std::vector<std::uint8_t>(data, data + size), 1 + size % 4096);
    ProcessFinite(adapter);
    const std::vector<std::uint8_t> saved = Save(adapter);
    // Most inputs are refused and leave the instance as it was; only a
    // state that differs needs the round trip, and undoing next time.
    changed = saved != fresh;
    if (!changed) return 0;
    Load(adapter, saved);
    if (Save(adapter) != saved) std::abort();
    ProcessFinite(adapter);
    return 0;
}
