#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "foundation/text/KString.h"

class KBufferedReader;
class KBufferedWriter;
class KStream;

// Text codecs: how streams and XML files turn bytes into KString text and
// back. The ASCII, UTF-8 and UTF-16 codecs and the legacy 8-bit character
// sets are process-wide constant objects; codecs hold no state, so one codec
// serves every thread.
namespace KEncoding {

// Where encoded bytes go: a byte block, or a stream's buffered writer.
class ByteSink {
public:
    virtual void Put(std::uint8_t byte) = 0;
    virtual void Put(const std::uint8_t* bytes, int count) = 0;

protected:
    ~ByteSink() = default;
};

class Codec {
public:
    virtual ~Codec() = default;

    // "ascii", "utf8", "utf16", or the name of a legacy character set.
    virtual KString Name() const = 0;
    // Decodes a byte block; a zero character ends the text early.
    virtual KString Decode(std::span<const std::uint8_t> bytes) const = 0;
    // Encodes the text into `sink`, without any byte-order header.
    virtual void EncodeTo(const KString& text, ByteSink& sink) const = 0;

    // Encodes the text into a new byte block.
    std::vector<std::uint8_t> Encode(const KString& text) const;

    // Stream operations.
    // Reads and checks the byte-order header; most codecs have none.
    virtual void ReadHeader(KStream& stream) const;
    virtual void WriteHeader(KStream& stream) const;
    // Decodes the next character into `units`: answers 1 or 2 (a surrogate
    // pair), or 0 when the data has ended. A zero character comes out as the
    // unit 0. Reads no byte beyond the character, so the codec may change
    // between two calls.
    virtual int ReadCharacter(KBufferedReader& reader, char16_t units[2]) const = 0;
    // Reads up to a line feed or a zero character, skipping carriage returns;
    // at the end of data the result is true only for a non-empty line.
    bool ReadLine(KBufferedReader& reader, KString& line) const;
    void Write(const KString& text, KBufferedWriter& writer) const;
    void WriteLine(const KString& text, KBufferedWriter& writer) const;
};

// One byte per unit; decoding widens each byte as a signed 8-bit value,
// encoding first replaces accented letters by their base letters and then
// writes the low byte of each unit.
class ASCIICodec final : public Codec {
public:
    KString Name() const override { return "ascii"; }
    KString Decode(std::span<const std::uint8_t> bytes) const override;
    void EncodeTo(const KString& text, ByteSink& sink) const override;
    int ReadCharacter(KBufferedReader& reader, char16_t units[2]) const override;
};

// UTF-8 under the rules of KUtf8 (foundation/Utf8.h).
class UTF8Codec final : public Codec {
public:
    KString Name() const override { return "utf8"; }
    KString Decode(std::span<const std::uint8_t> bytes) const override;
    void EncodeTo(const KString& text, ByteSink& sink) const override;
    int ReadCharacter(KBufferedReader& reader, char16_t units[2]) const override;
};

// Little-endian UTF-16 code units; the byte-order header is FF FE.
class UTF16Codec final : public Codec {
public:
    KString Name() const override { return "utf16"; }
    KString Decode(std::span<const std::uint8_t> bytes) const override;
    void EncodeTo(const KString& text, ByteSink& sink) const override;
    // Two bytes; anything but FF FE raises "Invalid UTF8 header.".
    void ReadHeader(KStream& stream) const override;
    void WriteHeader(KStream& stream) const override;
    int ReadCharacter(KBufferedReader& reader, char16_t units[2]) const override;
};

// A legacy 8-bit character set: bytes below 0x80 are ASCII, the characters
// of the bytes 0x80-0xFF come from a table.
class TableCodec final : public Codec {
public:
    using UpperHalf = std::array<char16_t, 128>;

    TableCodec(KString name, const UpperHalf& upperHalf) noexcept : m_name(std::move(name)), m_upperHalf(&upperHalf) {}

    KString Name() const override { return m_name; }
    KString Decode(std::span<const std::uint8_t> bytes) const override;
    // Characters outside the set are written as their base letter when that
    // is in the set, else as "?".
    void EncodeTo(const KString& text, ByteSink& sink) const override;
    int ReadCharacter(KBufferedReader& reader, char16_t units[2]) const override;

    // The legacy character set of that name (case-insensitive), or null.
    // Known: "windows-1252", also as "cp1252", "iso-8859-1" and "latin1"
    // (ISO 8859-1 text is read as its Windows superset, as browsers do).
    static const TableCodec* Find(const KString& name) noexcept;

private:
    std::uint8_t ByteOf(char16_t unit) const noexcept;  // 0 when not in the set

    KString m_name;
    const UpperHalf* m_upperHalf;
};

const Codec& ASCII() noexcept;
const Codec& UTF8() noexcept;
const Codec& UTF16() noexcept;

// The codec of an encoding name, as an XML declaration gives it: an empty
// name gives ASCII, "utf8"/"utf-8" UTF-8, "utf16"/"utf-16" UTF-16, any other
// name a legacy character set. Names compare case-insensitively. An unknown
// name gives Windows-1252, which reads every byte as some character and is
// what unlabelled 8-bit text most likely is.
const Codec& Find(const KString& name) noexcept;
// As Find, but null for a name that is no known encoding.
const Codec* FindKnown(const KString& name) noexcept;

}  // namespace KEncoding
