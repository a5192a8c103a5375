#include "foundation/text/KEncoding.h"

#include <string_view>

#include "foundation/text/Utf8.h"

namespace KEncoding {

KString UTF8Codec::Decode(std::span<const std::uint8_t> bytes) const {
    return KString::FromUTF8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// The bytes go to the sink in chunks: a call per byte cost more than the
// encoding itself when a state is saved.
void UTF8Codec::EncodeTo(const KString& text, ByteSink& sink) const {
    constexpr int kChunk = 256, kLongestCharacter = 4;
    std::uint8_t chunk[kChunk];
    int used = 0;
    KUtf8::Encoder encoder;
    for (int i = 0; i < text.Length(); ++i) {
        if (used > kChunk - kLongestCharacter) {
            sink.Put(chunk, used);
            used = 0;
        }
        encoder.Feed(text[i], [&](char byte) { chunk[used++] = std::uint8_t(byte); });
    }
    sink.Put(chunk, used);
}

}  // namespace KEncoding
