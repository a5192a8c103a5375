#include "foundation/KFormatter.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "foundation/KException.h"

namespace {

constexpr int kMaxArguments = 32;

struct ArgumentRecord {
    static constexpr std::uint8_t kHexadecimal = 1;
    static constexpr std::uint8_t kExplicitPlus = 2;

    std::int32_t position = -1;
    std::uint8_t flags = 0;
    std::int8_t width = 0;
    char fill = ' ';
    std::int8_t precision = 4;
    std::uint8_t order = 0;
};

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Reads a small signed decimal number from at most `maxCharacters`
// characters (an optional "-" and digits), advancing `i`.
int ReadNumber(const KString& text, int& i, int maxCharacters) {
    bool negative = false;
    int value = 0;
    for (int read = 0; read < maxCharacters && i < text.Length(); ++read) {
        const char16_t c = text[i];
        if (read == 0 && c == u'-') negative = true;
        else if (IsDigit(c)) value = value * 10 + (c - u'0');
        else break;
        ++i;
    }
    return negative ? -value : value;
}

KString PadDigits(KString digits, const ArgumentRecord& record) {
    const int width = std::min<int>(record.width, 62);
    if (digits.Length() < width) {
        KString padding;
        padding.Reserve(width);
        for (int k = digits.Length(); k < width; ++k) padding.Append(char16_t(static_cast<unsigned char>(record.fill)));
        digits.Insert(0, padding);
    }
    return digits;
}

}  // namespace

struct KFormatter::Compiled {
    std::atomic<std::int32_t> references{1};
    ArgumentRecord records[kMaxArguments];
    KString text;
    std::int32_t argumentCount = 0;
    std::int32_t next = 0;

    void Compile(const KString& pattern);
    void OpenPlaceholder(const KString& pattern, int& i);
};

void KFormatter::Compiled::Compile(const KString& pattern) {
    text.Reserve(pattern.Length());
    int i = 0;
    while (i < pattern.Length()) {
        const char16_t c = pattern[i];
        if (c == u'{') {
            if (i + 1 < pattern.Length() && pattern[i + 1] == u'{') {
                text.Append(u'{');
                i += 2;
            } else {
                ++i;
                OpenPlaceholder(pattern, i);
            }
        } else if (c == u'}') {
            if (i + 1 < pattern.Length()) text.Append(pattern[i + 1]);
            i += 2;
        } else {
            text.Append(c);
            ++i;
        }
    }
}

void KFormatter::Compiled::OpenPlaceholder(const KString& pattern, int& i) {
    static const KString kEndsInSpecification = "Formatting string ends in an argument specification.";
    const int index = ReadNumber(pattern, i, 3);
    // Indices outside 0..31 are outside the contract: the specification is
    // read and dropped.
    ArgumentRecord ignored;
    const bool valid = index >= 0 && index < kMaxArguments;
    ArgumentRecord& record = valid ? records[index] : ignored;
    if (valid) {
        argumentCount = std::max(argumentCount, index + 1);
        record.position = text.Length();
        int order = 0;
        for (int k = 0; k < argumentCount; ++k)
            if (k != index && records[k].position == record.position) ++order;
        record.order = std::uint8_t(order);
    }
    while (true) {
        if (i >= pattern.Length()) throw KException(kEndsInSpecification);
        const char16_t c = pattern[i++];
        switch (c) {
            case u'}': return;
            case u' ':
            case u'0':
                record.fill = char(c);
                record.width = std::int8_t(ReadNumber(pattern, i, 2));
                break;
            case u'.': record.precision = std::int8_t(ReadNumber(pattern, i, 2)); break;
            case u'+': record.flags |= ArgumentRecord::kExplicitPlus; break;
            case u'x': record.flags |= ArgumentRecord::kHexadecimal; break;
            default: break;
        }
    }
}

KFormatter::KFormatter(const KString& pattern) : m_compiled(new Compiled) {
    try {
        m_compiled->Compile(pattern);
    } catch (...) {
        delete m_compiled;
        throw;
    }
}

KFormatter::KFormatter(const KFormatter& other) noexcept : m_compiled(other.m_compiled) {
    m_compiled->references.fetch_add(1, std::memory_order_relaxed);
}

KFormatter& KFormatter::operator=(const KFormatter& other) noexcept {
    KFormatter copy(other);
    std::swap(m_compiled, copy.m_compiled);
    return *this;
}

KFormatter::~KFormatter() {
    if (m_compiled->references.fetch_sub(1, std::memory_order_acq_rel) == 1) delete m_compiled;
}

int KFormatter::ArgumentCount() const noexcept { return m_compiled->argumentCount; }

KString KFormatter::ToString() const { return m_compiled->text; }

void KFormatter::Insert(const KString& argumentText) {
    Compiled& c = *m_compiled;
    if (c.next >= kMaxArguments) return;  // more arguments than placeholders: ignored
    const int index = c.next++;
    const ArgumentRecord& record = c.records[index];
    if (record.position < 0) return;
    c.text.Insert(std::min(record.position, c.text.Length()), argumentText);
    for (int k = index + 1; k < kMaxArguments; ++k) {
        ArgumentRecord& later = c.records[k];
        if (later.position > record.position || (later.position == record.position && later.order > record.order))
            later.position += argumentText.Length();
    }
}

KFormatter& KFormatter::operator<<(std::int64_t value) {
    const ArgumentRecord& record = m_compiled->records[std::min(m_compiled->next, kMaxArguments - 1)];
    const std::uint64_t magnitude = value < 0 ? 0 - std::uint64_t(value) : std::uint64_t(value);
    KString text = PadDigits(KNumberText::Digits(magnitude, record.flags & ArgumentRecord::kHexadecimal), record);
    if (value < 0) text.Insert(0, "-");
    if ((record.flags & ArgumentRecord::kExplicitPlus) && value >= 1) text.Insert(0, "+");
    Insert(text);
    return *this;
}

KFormatter& KFormatter::operator<<(std::uint64_t value) {
    const ArgumentRecord& record = m_compiled->records[std::min(m_compiled->next, kMaxArguments - 1)];
    KString text = PadDigits(KNumberText::Digits(value, record.flags & ArgumentRecord::kHexadecimal), record);
    if ((record.flags & ArgumentRecord::kExplicitPlus) && value != 0) text.Insert(0, "+");
    Insert(text);
    return *this;
}

KFormatter& KFormatter::operator<<(double value) {
    const ArgumentRecord& record = m_compiled->records[std::min(m_compiled->next, kMaxArguments - 1)];
    KString text = KNumberText::Double(value, record.precision);
    if ((record.flags & ArgumentRecord::kExplicitPlus) && value - 1e-20 > 0) text.Insert(0, "+");
    Insert(text);
    return *this;
}

KFormatter& KFormatter::operator<<(const KString& text) {
    Insert(text);
    return *this;
}

KFormatter& KFormatter::operator<<(const char* text) {
    Insert(KString::FromBytes(text, int(std::char_traits<char>::length(text))));
    return *this;
}

namespace KNumberText {

KString Digits(std::uint64_t magnitude, bool hexadecimal) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const unsigned radix = hexadecimal ? 16 : 10;
    char buffer[64];
    int start = sizeof buffer;
    do {
        buffer[--start] = kDigits[magnitude % radix];
        magnitude /= radix;
    } while (magnitude != 0);
    return KString::FromBytes(buffer + start, int(sizeof buffer) - start);
}

KString Double(double value, int precision) {
    precision = std::clamp(precision, 0, 99);
    char buffer[512];
    const int written = std::snprintf(buffer, sizeof buffer, precision < 10 ? "%.*f" : "%.*g", precision, value);
    return KString::FromBytes(buffer, std::clamp(written, 0, int(sizeof buffer) - 1));
}

}  // namespace KNumberText
