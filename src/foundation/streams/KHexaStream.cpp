#include "foundation/streams/KHexaStream.h"

#include <algorithm>

#include "foundation/text/NumberText.h"

namespace {

constexpr int kPieceBytes = 128;
constexpr char kDigits[] = "0123456789ABCDEF";

}  // namespace

void KHexaStream::Write(const void* data, int count) {
    KStream& target = RequireTarget();
    const auto* bytes = static_cast<const unsigned char*>(data);
    char text[2 * kPieceBytes];
    while (count > 0) {
        const int piece = std::min(count, kPieceBytes);
        for (int i = 0; i < piece; ++i) {
            text[2 * i] = kDigits[bytes[i] >> 4];
            text[2 * i + 1] = kDigits[bytes[i] & 15];
        }
        target.Write(text, 2 * piece);
        bytes += piece;
        count -= piece;
    }
}

int KHexaStream::Read(void* buffer, int count) {
    KStream& target = RequireTarget();
    auto* bytes = static_cast<unsigned char*>(buffer);
    char text[2 * kPieceBytes];
    int produced = 0;
    while (produced < count) {
        const int wanted = 2 * std::min(count - produced, kPieceBytes);
        int got = target.Read(text, wanted);
        // A piece may end between the two digits of a byte.
        if (got % 2 != 0) got += target.Read(text + got, 1);
        for (int i = 0; i + 1 < got; i += 2) {
            bytes[produced++] = static_cast<unsigned char>(KNumberText::HexDigit(char16_t(text[i])) << 4 | KNumberText::HexDigit(char16_t(text[i + 1])));
        }
        if (got < wanted) break;
    }
    return produced;
}

void KHexaStream::Seek(std::int64_t offset, SeekOrigin origin) { RequireTarget().Seek(2 * offset, origin); }

std::int64_t KHexaStream::Position() { return RequireTarget().Position() / 2; }

void KHexaStream::Flush() { RequireTarget().Flush(); }

bool KHexaStream::AtEnd() { return RequireTarget().AtEnd(); }

std::int64_t KHexaStream::Size() { return RequireTarget().Size() / 2; }
