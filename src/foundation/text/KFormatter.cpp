#include "foundation/text/KFormatter.h"

#include <algorithm>
#include <atomic>
#include <string_view>

#include "foundation/text/KFormatPlaceholder.h"
#include "foundation/core/KException.h"

namespace {

constexpr int kMaxArguments = 32;

struct ArgumentRecord {
    std::int32_t position = -1;  // -1: the template has no placeholder for it
    std::uint8_t order = 0;      // among placeholders at the same position
    KFormatPlaceholder format;
};

// Puts fill characters in front of the digits up to the width, which counts
// digits only and is at most 62.
KString PadDigits(KString digits, const KFormatPlaceholder& format) {
    const int width = std::min(format.width, 62);
    if (digits.Length() >= width) return digits;
    KString padding;
    padding.Reserve(width);
    for (int k = digits.Length(); k < width; ++k) padding.Append(format.fill);
    return digits.Insert(0, padding);
}

}  // namespace

struct KFormatter::Compiled : KSharedObject {
    ArgumentRecord records[kMaxArguments];
    KString text;
    std::int32_t argumentCount = 0;
    std::int32_t next = 0;

    void Compile(const KString& pattern);
    void OpenPlaceholder(const KString& pattern, int& i);
    // The record of the argument fed next (the last one once all are fed).
    const KFormatPlaceholder& NextFormat() const { return records[std::min(next, kMaxArguments - 1)].format; }
};

void KFormatter::Compiled::Compile(const KString& pattern) {
    text.Reserve(pattern.Length());
    int i = 0;
    while (i < pattern.Length()) {
        const char16_t c = pattern[i];
        if (c == u'{' && i + 1 < pattern.Length() && pattern[i + 1] == u'{') {
            text.Append(u'{');
            i += 2;
        } else if (c == u'{') {
            // A "{" with nothing after it opens nothing and is dropped.
            if (++i < pattern.Length()) OpenPlaceholder(pattern, i);
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
    KFormatPlaceholder format;
    if (!format.Read(pattern, i)) throw KException("Formatting string ends in an argument specification.");
    // Indices outside 0..31 are outside the contract: such a placeholder is dropped.
    if (format.index < 0 || format.index >= kMaxArguments) return;
    argumentCount = std::max(argumentCount, format.index + 1);
    ArgumentRecord& record = records[format.index];
    record.format = format;
    record.position = text.Length();
    int order = 0;
    for (int k = 0; k < argumentCount; ++k)
        if (k != format.index && records[k].position == record.position) ++order;
    record.order = std::uint8_t(order);
}

KFormatter::KFormatter(const KString& pattern) : m_compiled(new Compiled) { m_compiled->Compile(pattern); }

KFormatter::KFormatter(const KFormatter& other) noexcept = default;
KFormatter& KFormatter::operator=(const KFormatter& other) noexcept = default;
KFormatter::~KFormatter() = default;

int KFormatter::ArgumentCount() const noexcept { return m_compiled->argumentCount; }

KString KFormatter::ToString() const { return m_compiled->text; }

// Inserts the text of the next argument at its placeholder and moves every
// later placeholder behind it, so that adjacent placeholders fill in template
// order whatever the feeding order.
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
    const KFormatPlaceholder& format = m_compiled->NextFormat();
    const std::uint64_t magnitude = value < 0 ? 0 - std::uint64_t(value) : std::uint64_t(value);
    KString text = PadDigits(KNumberText::Digits(magnitude, format.flags & KFormatPlaceholder::kHexadecimal), format);
    if (value < 0) text.Insert(0, "-");
    if ((format.flags & KFormatPlaceholder::kExplicitSign) && value >= 1) text.Insert(0, "+");
    Insert(text);
    return *this;
}

KFormatter& KFormatter::operator<<(std::uint64_t value) {
    const KFormatPlaceholder& format = m_compiled->NextFormat();
    KString text = PadDigits(KNumberText::Digits(value, format.flags & KFormatPlaceholder::kHexadecimal), format);
    if ((format.flags & KFormatPlaceholder::kExplicitSign) && value != 0) text.Insert(0, "+");
    Insert(text);
    return *this;
}

// Width and fill do not apply to doubles.
KFormatter& KFormatter::operator<<(double value) {
    const KFormatPlaceholder& format = m_compiled->NextFormat();
    KString text = KNumberText::Double(value, format.precision);
    if ((format.flags & KFormatPlaceholder::kExplicitSign) && value - 1e-20 > 0) text.Insert(0, "+");
    Insert(text);
    return *this;
}

KFormatter& KFormatter::operator<<(const KString& text) {
    Insert(text);
    return *this;
}

KFormatter& KFormatter::operator<<(const char* text) {
    Insert(text ? KString::FromBytes(std::string_view(text)) : KString());
    return *this;
}
