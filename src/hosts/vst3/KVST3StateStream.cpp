#include "hosts/vst3/KVST3StateStream.h"

namespace KVST3StateStream {

std::vector<std::uint8_t> ReadAll(vst3::IBStream& stream) {
    constexpr int kChunk = 16384;
    std::vector<std::uint8_t> bytes;
    for (;;) {
        const std::size_t used = bytes.size();
        bytes.resize(used + kChunk);
        vst3::int32 got = 0;
        if (stream.read(bytes.data() + used, kChunk, &got) != vst3::kResultOk || got <= 0) got = 0;
        bytes.resize(used + std::size_t(got));
        if (got < kChunk) return bytes;
    }
}

bool WriteAll(vst3::IBStream& stream, const std::uint8_t* data, int size) {
    vst3::int32 written = 0;
    if (size <= 0) return true;
    const vst3::tresult result = stream.write(const_cast<std::uint8_t*>(data), size, &written);
    return result == vst3::kResultOk && written == size;
}

}  // namespace KVST3StateStream
