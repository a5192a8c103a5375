#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The text type of the whole library: UTF-16 code units in a shared,
// reference-counted, copy-on-write heap block, or a borrowed constant 8-bit
// literal that is never copied until it is changed. Lengths count code units.
//
// Block layout: int32 capacity in bytes, int32 reference count, then the
// zero-terminated units; the string points just behind the two header words.
class KString {
public:
    static constexpr int npos = -1;

    KString() noexcept : m_text(""), m_length(0), m_flags(kNarrowLiteral) {}
    // Borrows a string literal (7-bit ASCII); the text must outlive the string.
    template <std::size_t N>
    KString(const char (&literal)[N]) noexcept  // NOLINT: literals convert implicitly
        : m_text(literal), m_length(LiteralLength(literal, N)), m_flags(kNarrowLiteral) {}
    // A writable char array is a buffer, not a literal: copy it with FromBytes.
    template <std::size_t N>
    KString(char (&buffer)[N]) = delete;

    KString(const KString& other) noexcept;
    KString(KString&& other) noexcept;
    KString& operator=(const KString& other) noexcept;
    KString& operator=(KString&& other) noexcept;
    ~KString();

    // Copies: 8-bit bytes widened one to one, and UTF-16 units.
    static KString FromBytes(const char* bytes, int length);
    static KString FromBytes(std::string_view bytes) { return FromBytes(bytes.data(), int(bytes.size())); }
    static KString FromUTF16(const char16_t* units, int length);
    static KString FromUTF16(std::u16string_view units) { return FromUTF16(units.data(), int(units.size())); }
    static KString FromUTF8(std::string_view bytes);
    static KString FromChar(char16_t c) { return FromUTF16(&c, 1); }
    // printf-style construction; at most 8191 bytes, each widened to one unit.
    static KString Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

    int Length() const noexcept { return m_length; }
    bool IsEmpty() const noexcept { return m_length == 0; }
    char16_t operator[](int index) const noexcept {
        return IsNarrowLiteral() ? char16_t(static_cast<signed char>(Narrow()[index])) : Wide()[index];
    }
    char16_t At(int index) const noexcept { return (*this)[index]; }

    KString& Append(const KString& text);
    // Appends `count` units of `text` from `start`, clamped to the text.
    KString& Append(const KString& text, int start, int count);
    KString& Append(char16_t c);
    KString& Append(const char16_t* units, int count);
    KString& operator+=(const KString& text) { return Append(text); }
    KString& operator+=(char16_t c) { return Append(c); }
    KString& Insert(int position, const KString& text);
    KString& Remove(int start, int count);
    KString& ReplaceAll(char16_t c, const KString& replacement);
    KString& Trim();  // removes units of code 32 or below at both ends
    void Clear() noexcept { *this = KString(); }
    void Reserve(int units) { EnsureCapacity(units + 1); }

    KString Substring(int start, int count = npos) const;
    KString Trimmed() const { KString copy(*this); return copy.Trim(); }

    int Find(char16_t c, int from = 0) const noexcept;
    int Find(const KString& text, int from = 0) const noexcept;
    // Backward search starting at `from` (npos: from the end).
    int FindLast(char16_t c, int from = npos) const noexcept;
    int FindLast(const KString& text, int from = npos) const noexcept;
    bool StartsWith(const KString& text) const noexcept;

    // Difference of the first differing units, 0 when equal.
    int Compare(const KString& other) const noexcept;
    // Case-insensitive comparison of at most n units, accented letters
    // compared by their base letters.
    static int CompareNoCase(const KString& a, const KString& b, int n = 0x7FFFFFFF) noexcept;
    bool EqualsNoCase(const KString& other) const noexcept {
        return m_length == other.m_length && CompareNoCase(*this, other) == 0;
    }
    // Texts that EqualsNoCase finds equal hash alike.
    std::uint64_t HashNoCase() const noexcept;

    std::string ToUTF8() const;
    std::u16string ToUTF16() const;

    // True when the string borrows an 8-bit literal.
    bool IsNarrowLiteral() const noexcept { return (m_flags & kNarrowLiteral) != 0; }
    // Number of strings sharing this buffer (0 for a literal); for tests and diagnostics.
    int ShareCount() const noexcept;
    // Size in bytes of the shared block, header included (0 for a literal).
    int CapacityBytes() const noexcept { return IsNarrowLiteral() ? 0 : BlockHeader()->capacityBytes; }

    friend bool operator==(const KString& a, const KString& b) noexcept {
        return a.m_length == b.m_length && a.Compare(b) == 0;
    }
    friend bool operator<(const KString& a, const KString& b) noexcept { return a.Compare(b) < 0; }
    friend KString operator+(KString a, const KString& b) { return a.Append(b); }

private:
    static constexpr std::uint32_t kNarrowLiteral = 1;
    struct Header {
        std::int32_t capacityBytes;
        std::int32_t referenceCount;
    };

    static int LiteralLength(const char* text, std::size_t size) noexcept {
        int length = 0;
        while (std::size_t(length) + 1 < size && text[length]) ++length;
        return length;
    }
    const char* Narrow() const noexcept { return static_cast<const char*>(m_text); }
    const char16_t* Wide() const noexcept { return static_cast<const char16_t*>(m_text); }
    char16_t* MutableWide() noexcept { return static_cast<char16_t*>(const_cast<void*>(m_text)); }
    Header* BlockHeader() const noexcept;

    void EnsureCapacity(int units);
    void ReleaseBuffer() noexcept;
    void SetLength(int length) noexcept;

    const void* m_text;
    std::int32_t m_length;
    std::uint32_t m_flags;
};

using KStringList = std::vector<KString>;

// Base letter of a unit from code 192 up (the unit itself when it has none).
char16_t KBaseLetter(char16_t c) noexcept;
