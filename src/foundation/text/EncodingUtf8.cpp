#include "foundation/text/KEncoding.h"

#include <string_view>

#include "foundation/text/ChunkedSink.h"
#include "foundation/text/Utf8.h"

namespace KEncoding {

KString UTF8Codec::Decode(std::span<const std::uint8_t> bytes) const {
    return KString::FromUTF8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void UTF8Codec::EncodeTo(const KString& text, ByteSink& sink) const {
    ChunkedSink chunks(sink);
    KUtf8::Encoder encoder;
    for (int i = 0; i < text.Length(); ++i) encoder.Feed(text[i], [&](char byte) { chunks.Put(std::uint8_t(byte)); });
    chunks.Flush();
}

}  // namespace KEncoding
