#include "foundation/text/KEncoding.h"

#include "foundation/text/ChunkedSink.h"

namespace KEncoding {

// A trailing odd byte is not a unit and is ignored.
KString UTF16Codec::Decode(std::span<const std::uint8_t> bytes) const {
    KString text;
    text.Reserve(int(bytes.size() / 2));
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = char16_t(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) break;
        text.Append(unit);
    }
    return text;
}

void UTF16Codec::EncodeTo(const KString& text, ByteSink& sink) const {
    ChunkedSink chunks(sink);
    for (int i = 0; i < text.Length(); ++i) {
        const char16_t unit = text[i];
        chunks.Put(std::uint8_t(unit & 0xFF));
        chunks.Put(std::uint8_t(unit >> 8));
    }
    chunks.Flush();
}

}  // namespace KEncoding
