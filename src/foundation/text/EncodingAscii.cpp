#include "foundation/text/KEncoding.h"

namespace KEncoding {

KString ASCIICodec::Decode(std::span<const std::uint8_t> bytes) const {
    KString text;
    text.Reserve(int(bytes.size()));
    for (std::uint8_t byte : bytes) {
        if (byte == 0) break;
        text.Append(char16_t(static_cast<std::int8_t>(byte)));
    }
    return text;
}

void ASCIICodec::EncodeTo(const KString& text, ByteSink& sink) const {
    for (int i = 0; i < text.Length(); ++i) {
        const char16_t unit = text[i];
        sink.Put(std::uint8_t(unit >= 192 ? KBaseLetter(unit) : unit));
    }
}

}  // namespace KEncoding
