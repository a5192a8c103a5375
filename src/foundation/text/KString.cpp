#include "foundation/text/KString.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "foundation/core/Allocator.h"
#include "foundation/text/Utf8.h"

namespace {

std::atomic_ref<std::int32_t> ReferenceCount(std::int32_t& count) { return std::atomic_ref<std::int32_t>(count); }

// A borrowed literal's bytes widen as signed values, as operator[] does.
struct NarrowUnits {
    const char* bytes;
    char16_t operator[](int index) const noexcept { return char16_t(static_cast<signed char>(bytes[index])); }
};

// Base letters are never zero, so only a zero folds to zero.
int FoldCase(char16_t c) noexcept {
    if (c >= 192) c = KBaseLetter(c);
    if (c >= u'A' && c <= u'Z') c = char16_t(c + 32);
    return c;
}

// Up to `n` units, a zero unit ending the comparison as in C; past its end
// a text reads as zeros. One instance per kind of storage on each side keeps
// the loop free of storage tests.
template <class UnitsA, class UnitsB>
int CompareFolded(UnitsA a, int lengthA, UnitsB b, int lengthB, int n) noexcept {
    const int common = std::min({lengthA, lengthB, n});
    for (int i = 0; i < common; ++i) {
        const char16_t ca = a[i];
        const char16_t cb = b[i];
        // Equal units fold alike; names sorted by this share long prefixes.
        if (ca == cb) {
            if (ca == 0) return 0;
            continue;
        }
        const int difference = FoldCase(ca) - FoldCase(cb);
        if (difference != 0) return difference;
    }
    if (common == n) return 0;
    return FoldCase(common < lengthA ? a[common] : 0) - FoldCase(common < lengthB ? b[common] : 0);
}

}  // namespace

KString::Header* KString::BlockHeader() const noexcept {
    return reinterpret_cast<Header*>(const_cast<char16_t*>(Wide())) - 1;
}

KString::KString(const KString& other) noexcept
    : m_text(other.m_text), m_length(other.m_length), m_flags(other.m_flags) {
    if (!IsNarrowLiteral()) ReferenceCount(BlockHeader()->referenceCount).fetch_add(1, std::memory_order_relaxed);
}

KString::KString(KString&& other) noexcept
    : m_text(other.m_text), m_length(other.m_length), m_flags(other.m_flags) {
    other.m_text = "";
    other.m_length = 0;
    other.m_flags = kNarrowLiteral;
}

KString& KString::operator=(const KString& other) noexcept {
    if (this != &other) {
        KString copy(other);
        *this = std::move(copy);
    }
    return *this;
}

KString& KString::operator=(KString&& other) noexcept {
    if (this != &other) {
        ReleaseBuffer();
        m_text = other.m_text;
        m_length = other.m_length;
        m_flags = other.m_flags;
        other.m_text = "";
        other.m_length = 0;
        other.m_flags = kNarrowLiteral;
    }
    return *this;
}

KString::~KString() { ReleaseBuffer(); }

void KString::ReleaseBuffer() noexcept {
    if (IsNarrowLiteral()) return;
    Header* header = BlockHeader();
    if (ReferenceCount(header->referenceCount).fetch_sub(1, std::memory_order_acq_rel) == 1) {
        KAllocator::Release(header);
    }
}

int KString::ShareCount() const noexcept {
    if (IsNarrowLiteral()) return 0;
    return ReferenceCount(BlockHeader()->referenceCount).load(std::memory_order_relaxed);
}

// Makes the buffer private and able to hold `units` code units including the
// terminator. Block sizes are powers of two so that appends rarely reallocate.
void KString::EnsureCapacity(int units) {
    const std::size_t size = std::bit_ceil(std::size_t(2) * std::size_t(units) + sizeof(Header));
    const int kept = std::min(m_length, units - 1);
    if (IsNarrowLiteral()) {
        auto* header = static_cast<Header*>(KAllocator::Allocate(size));
        header->capacityBytes = std::int32_t(size);
        header->referenceCount = 1;
        auto* wide = reinterpret_cast<char16_t*>(header + 1);
        for (int i = 0; i < kept; ++i) wide[i] = char16_t(static_cast<signed char>(Narrow()[i]));
        wide[kept] = 0;
        m_text = wide;
        m_length = kept;
        m_flags &= ~kNarrowLiteral;
        return;
    }
    Header* header = BlockHeader();
    if (ReferenceCount(header->referenceCount).load(std::memory_order_acquire) >= 2) {
        auto* fresh = static_cast<Header*>(KAllocator::Allocate(size));
        fresh->capacityBytes = std::int32_t(size);
        fresh->referenceCount = 1;
        auto* wide = reinterpret_cast<char16_t*>(fresh + 1);
        std::memcpy(wide, Wide(), std::size_t(kept) * 2);
        wide[kept] = 0;
        ReleaseBuffer();
        m_text = wide;
        m_length = kept;
        return;
    }
    if (std::size_t(header->capacityBytes) < size) {
        header = static_cast<Header*>(KAllocator::Reallocate(header, size));
        header->capacityBytes = std::int32_t(size);
        m_text = header + 1;
    }
}

void KString::SetLength(int length) noexcept {
    m_length = length;
    MutableWide()[length] = 0;
}

KString KString::FromBytes(const char* bytes, int length) {
    KString result;
    if (length <= 0) return result;
    result.EnsureCapacity(length + 1);
    char16_t* wide = result.MutableWide();
    for (int i = 0; i < length; ++i) wide[i] = char16_t(static_cast<unsigned char>(bytes[i]));
    result.SetLength(length);
    return result;
}

KString KString::FromUTF16(const char16_t* units, int length) {
    KString result;
    if (length <= 0) return result;
    result.EnsureCapacity(length + 1);
    std::memcpy(result.MutableWide(), units, std::size_t(length) * 2);
    result.SetLength(length);
    return result;
}

KString KString::FromUTF8(std::string_view bytes) {
    KString result;
    result.Reserve(int(bytes.size()));
    KUtf8::Decoder decoder;
    for (char byte : bytes) {
        if (!decoder.Feed(static_cast<unsigned char>(byte), [&](char16_t unit) { result.Append(unit); })) break;
    }
    return result;
}

KString KString::Printf(const char* format, ...) {
    char buffer[8192];
    va_list arguments;
    va_start(arguments, format);
    int written = std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    if (written < 0) return KString();
    return FromBytes(buffer, std::min(written, int(sizeof buffer) - 1));
}

KString& KString::Append(const char16_t* units, int count) {
    if (count <= 0) return *this;
    const int length = m_length;
    EnsureCapacity(length + count + 1);
    std::memcpy(MutableWide() + length, units, std::size_t(count) * 2);
    SetLength(length + count);
    return *this;
}

KString& KString::Append(const KString& text) {
    if (IsEmpty() && IsNarrowLiteral()) return *this = text;
    return Append(text, 0, text.m_length);
}

// Another string never shares a private buffer, so only this very string
// needs holding on to while the buffer grows; a reference per append costs
// two atomic operations.
KString& KString::Append(const KString& text, int start, int count) {
    if (&text == this) {
        const KString keep(text);
        return Append(keep, start, count);
    }
    start = std::clamp(start, 0, text.m_length);
    count = std::clamp(count, 0, text.m_length - start);
    if (count == 0) return *this;
    const int length = m_length;
    EnsureCapacity(length + count + 1);
    char16_t* wide = MutableWide() + length;
    if (text.IsNarrowLiteral()) {
        for (int i = 0; i < count; ++i) wide[i] = text[start + i];
    } else {
        std::memcpy(wide, text.Wide() + start, std::size_t(count) * 2);
    }
    SetLength(length + count);
    return *this;
}

KString& KString::Append(char16_t c) { return Append(&c, 1); }

KString& KString::Insert(int position, const KString& text) {
    position = std::clamp(position, 0, m_length);
    if (text.IsEmpty()) return *this;
    if (&text == this) {
        const KString keep(text);
        return Insert(position, keep);
    }
    const int length = m_length;
    const int count = text.m_length;
    EnsureCapacity(length + count + 1);
    char16_t* wide = MutableWide();
    std::memmove(wide + position + count, wide + position, std::size_t(length - position) * 2);
    for (int i = 0; i < count; ++i) wide[position + i] = text[i];
    SetLength(length + count);
    return *this;
}

KString& KString::Remove(int start, int count) {
    start = std::clamp(start, 0, m_length);
    count = std::clamp(count, 0, m_length - start);
    if (count == 0) return *this;
    const int length = m_length;
    EnsureCapacity(length + 1);
    char16_t* wide = MutableWide();
    std::memmove(wide + start, wide + start + count, std::size_t(length - start - count) * 2);
    SetLength(length - count);
    return *this;
}

KString& KString::ReplaceAll(char16_t c, const KString& replacement) {
    if (Find(c) < 0) return *this;
    KString result;
    result.Reserve(m_length);
    for (int i = 0; i < m_length; ++i) {
        if ((*this)[i] == c) result.Append(replacement);
        else result.Append((*this)[i]);
    }
    return *this = std::move(result);
}

KString& KString::Trim() {
    int start = 0;
    int end = m_length;
    while (start < end && (*this)[start] <= 32) ++start;
    while (end > start && (*this)[end - 1] <= 32) --end;
    if (start == 0 && end == m_length) return *this;
    return *this = Substring(start, end - start);
}

KString KString::Substring(int start, int count) const {
    start = std::clamp(start, 0, m_length);
    if (count < 0 || count > m_length - start) count = m_length - start;
    if (start == 0 && count == m_length) return *this;
    if (count == 0) return KString();
    if (IsNarrowLiteral()) return FromBytes(Narrow() + start, count);
    return FromUTF16(Wide() + start, count);
}

int KString::Find(char16_t c, int from) const noexcept {
    for (int i = std::max(from, 0); i < m_length; ++i)
        if ((*this)[i] == c) return i;
    return npos;
}

int KString::Find(const KString& text, int from) const noexcept {
    const int count = text.m_length;
    for (int i = std::max(from, 0); i + count <= m_length; ++i) {
        int k = 0;
        while (k < count && (*this)[i + k] == text[k]) ++k;
        if (k == count) return i;
    }
    return npos;
}

int KString::FindLast(char16_t c, int from) const noexcept {
    if (from < 0 || from >= m_length) from = m_length - 1;
    for (int i = from; i >= 0; --i)
        if ((*this)[i] == c) return i;
    return npos;
}

int KString::FindLast(const KString& text, int from) const noexcept {
    const int count = text.m_length;
    int start = m_length - count;
    if (from >= 0 && from < start) start = from;
    for (int i = start; i >= 0; --i) {
        int k = 0;
        while (k < count && (*this)[i + k] == text[k]) ++k;
        if (k == count) return i;
    }
    return npos;
}

bool KString::StartsWith(const KString& text) const noexcept {
    if (text.m_length > m_length) return false;
    for (int i = 0; i < text.m_length; ++i)
        if ((*this)[i] != text[i]) return false;
    return true;
}

int KString::Compare(const KString& other) const noexcept {
    const int count = std::min(m_length, other.m_length);
    for (int i = 0; i < count; ++i) {
        const int difference = int((*this)[i]) - int(other[i]);
        if (difference != 0) return difference;
    }
    return m_length - other.m_length;
}

int KString::CompareNoCase(const KString& a, const KString& b, int n) noexcept {
    const auto compare = [&](auto unitsA, auto unitsB) {
        return CompareFolded(unitsA, a.m_length, unitsB, b.m_length, std::max(n, 0));
    };
    const NarrowUnits narrowA{a.Narrow()}, narrowB{b.Narrow()};
    if (a.IsNarrowLiteral()) return b.IsNarrowLiteral() ? compare(narrowA, narrowB) : compare(narrowA, b.Wide());
    return b.IsNarrowLiteral() ? compare(a.Wide(), narrowB) : compare(a.Wide(), b.Wide());
}

// FNV-1a over the folded units. The comparison ends at a zero unit, so the
// hash does too; the length, which EqualsNoCase also compares, comes last.
std::uint64_t KString::HashNoCase() const noexcept {
    constexpr std::uint64_t kPrime = 0x100000001B3;
    std::uint64_t hash = 0xCBF29CE484222325;
    for (int i = 0; i < m_length && (*this)[i] != 0; ++i) hash = (hash ^ std::uint64_t(FoldCase((*this)[i]))) * kPrime;
    return (hash ^ std::uint64_t(m_length)) * kPrime;
}

std::string KString::ToUTF8() const {
    if (IsNarrowLiteral()) return std::string(Narrow(), std::size_t(m_length));
    std::string bytes;
    bytes.reserve(std::size_t(m_length));
    KUtf8::Encoder encoder;
    for (int i = 0; i < m_length; ++i) encoder.Feed(Wide()[i], [&](char byte) { bytes.push_back(byte); });
    return bytes;
}

std::u16string KString::ToUTF16() const {
    std::u16string units(std::size_t(m_length), u'\0');
    for (int i = 0; i < m_length; ++i) units[std::size_t(i)] = (*this)[i];
    return units;
}
