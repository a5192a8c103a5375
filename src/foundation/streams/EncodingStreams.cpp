// The codecs' stream operations: byte-order headers, character-by-character
// decoding from a buffered reader, line reading, and buffered writing.
#include "foundation/streams/KBufferedReader.h"
#include "foundation/streams/KBufferedWriter.h"
#include "foundation/text/KEncoding.h"
#include "foundation/core/KException.h"
#include "foundation/streams/KStream.h"
#include "foundation/text/Utf8.h"

namespace KEncoding {

namespace {

constexpr std::uint8_t kUTF16Header[2] = {0xFF, 0xFE};
constexpr int kLinePiece = 64;

// Collects decoded units and appends them to the line in pieces, so that a
// long line grows its string a few times rather than once per character.
class LineCollector {
public:
    explicit LineCollector(KString& line) : m_line(line) {}
    void Add(char16_t unit) {
        if (m_used == kLinePiece) Drain();
        m_units[m_used++] = unit;
    }
    void Drain() {
        m_line.Append(m_units, m_used);
        m_used = 0;
    }

private:
    KString& m_line;
    char16_t m_units[kLinePiece];
    int m_used = 0;
};

}  // namespace

void Codec::ReadHeader(KStream&) const {}

void Codec::WriteHeader(KStream&) const {}

bool Codec::ReadLine(KBufferedReader& reader, KString& line) const {
    line.Clear();
    LineCollector collector(line);
    char16_t units[2];
    for (;;) {
        const int count = ReadCharacter(reader, units);
        if (count == 0) {
            collector.Drain();
            return !line.IsEmpty();
        }
        if (units[0] == u'\n' || units[0] == 0) break;
        if (units[0] == u'\r') continue;
        for (int i = 0; i < count; ++i) collector.Add(units[i]);
    }
    collector.Drain();
    return true;
}

void Codec::Write(const KString& text, KBufferedWriter& writer) const { EncodeTo(text, writer); }

void Codec::WriteLine(const KString& text, KBufferedWriter& writer) const {
    KString line(text);
    line.Append(u'\n');
    Write(line, writer);
}

int ASCIICodec::ReadCharacter(KBufferedReader& reader, char16_t units[2]) const {
    std::uint8_t byte;
    if (!reader.Next(byte)) return 0;
    units[0] = char16_t(static_cast<std::int8_t>(byte));
    return 1;
}

int UTF8Codec::ReadCharacter(KBufferedReader& reader, char16_t units[2]) const {
    KUtf8::Decoder decoder;
    int count = 0;
    std::uint8_t byte;
    // Bytes that start no character and byte-order marks yield nothing.
    while (count == 0) {
        if (!reader.Next(byte)) return 0;
        if (!decoder.Feed(byte, [&](char16_t unit) { units[count++] = unit; })) {
            units[0] = 0;
            return 1;
        }
    }
    return count;
}

void UTF16Codec::ReadHeader(KStream& stream) const {
    std::uint8_t header[2];
    if (stream.Read(header, 2) == 2 && (header[0] != kUTF16Header[0] || header[1] != kUTF16Header[1]))
        throw KException("Invalid UTF8 header.");
}

void UTF16Codec::WriteHeader(KStream& stream) const { stream.Write(kUTF16Header, 2); }

int UTF16Codec::ReadCharacter(KBufferedReader& reader, char16_t units[2]) const {
    std::uint8_t low, high;
    if (!reader.Next(low) || !reader.Next(high)) return 0;
    units[0] = char16_t(low | high << 8);
    return 1;
}

int TableCodec::ReadCharacter(KBufferedReader& reader, char16_t units[2]) const {
    std::uint8_t byte;
    if (!reader.Next(byte)) return 0;
    units[0] = byte < 0x80 ? char16_t(byte) : (*m_upperHalf)[byte - 0x80];
    return 1;
}

}  // namespace KEncoding
