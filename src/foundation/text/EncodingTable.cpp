#include "foundation/text/KEncoding.h"

#include <algorithm>

namespace KEncoding {

namespace {

// Windows-1252: ISO 8859-1 with printable characters in 0x80-0x9F. The five
// bytes Windows leaves undefined there (81, 8D, 8F, 90, 9D) map to the C1
// control of the same code, as the Windows conversion functions do.
constexpr TableCodec::UpperHalf kWindows1252 = [] {
    constexpr char16_t kFrom80[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    TableCodec::UpperHalf table{};
    for (int i = 0; i < 128; ++i) table[std::size_t(i)] = i < 32 ? kFrom80[i] : char16_t(0x80 + i);
    return table;
}();

const TableCodec& Windows1252() noexcept {
    static const TableCodec codec("windows-1252", kWindows1252);
    return codec;
}

}  // namespace

const TableCodec* TableCodec::Find(const KString& name) noexcept {
    static const KString kAliases[] = {"windows-1252", "cp1252", "iso-8859-1", "latin1"};
    for (const KString& alias : kAliases)
        if (name.EqualsNoCase(alias)) return &Windows1252();
    return nullptr;
}

KString TableCodec::Decode(std::span<const std::uint8_t> bytes) const {
    KString text;
    text.Reserve(int(bytes.size()));
    for (std::uint8_t byte : bytes) {
        if (byte == 0) break;
        text.Append(byte < 0x80 ? char16_t(byte) : (*m_upperHalf)[byte - 0x80]);
    }
    return text;
}

std::uint8_t TableCodec::ByteOf(char16_t unit) const noexcept {
    if (unit < 0x80) return std::uint8_t(unit);
    const auto found = std::find(m_upperHalf->begin(), m_upperHalf->end(), unit);
    return found == m_upperHalf->end() ? 0 : std::uint8_t(0x80 + (found - m_upperHalf->begin()));
}

void TableCodec::EncodeTo(const KString& text, ByteSink& sink) const {
    for (int i = 0; i < text.Length(); ++i) {
        const char16_t unit = text[i];
        std::uint8_t byte = ByteOf(unit);
        if (byte == 0 && unit >= 192) byte = ByteOf(KBaseLetter(unit));
        if (byte == 0 && unit != 0) byte = '?';
        sink.Put(byte);
    }
}

}  // namespace KEncoding
