#include "foundation/text/KFormatScanner.h"

#include <algorithm>
#include <atomic>

#include "foundation/text/KFormatPlaceholder.h"
#include "foundation/text/NumberText.h"

namespace {

constexpr int kMaxArguments = 32;

bool IsBlank(char16_t c) noexcept { return c <= 32; }

int FindBlank(const KString& text, int from) noexcept {
    for (int i = from; i < text.Length(); ++i)
        if (IsBlank(text[i])) return i;
    return text.Length();
}

}  // namespace

struct KFormatScanner::Argument {
    KString text;
    std::uint8_t flags = 0;
};

struct KFormatScanner::Scanned : KSharedObject {
    Argument arguments[kMaxArguments];
    std::int32_t argumentCount = 0;
    std::int32_t next = 0;

    void Scan(const KString& pattern, const KString& input);
    bool ReadArgument(const KString& pattern, int& p, const KString& input, int& i);
};

// Walks template (p) and input (i) together; the end of either ends the scan.
void KFormatScanner::Scanned::Scan(const KString& pattern, const KString& input) {
    int p = 0;
    int i = 0;
    while (p < pattern.Length() && i < input.Length()) {
        const char16_t c = pattern[p];
        if (c == u'{') {
            ++p;
            if (!ReadArgument(pattern, p, input, i)) return;
        } else if (IsBlank(c)) {
            // White space matches any run of white space, but at least one.
            if (!IsBlank(input[i])) return;
            while (p < pattern.Length() && IsBlank(pattern[p])) ++p;
            while (i < input.Length() && IsBlank(input[i])) ++i;
        } else {
            // "}" takes the following template character as the literal.
            if (c == u'}' && ++p >= pattern.Length()) return;
            if (pattern[p] != input[i]) return;
            ++p;
            ++i;
        }
    }
}

// Reads the placeholder behind "{" and takes the argument's text from the
// input: up to the template character that follows the placeholder, or up to
// white space when white space (or the template's end) follows it.
bool KFormatScanner::Scanned::ReadArgument(const KString& pattern, int& p, const KString& input, int& i) {
    KFormatPlaceholder format;
    if (!format.Read(pattern, p)) return false;
    int end = input.Length();
    if (p < pattern.Length() && !IsBlank(pattern[p])) {
        const int found = input.Find(pattern[p], i);
        if (found >= 0) end = found;
    } else {
        end = FindBlank(input, i);
    }
    // Indices outside 0..31 are outside the contract: their text is skipped.
    if (format.index >= 0 && format.index < kMaxArguments) {
        arguments[format.index] = Argument{input.Substring(i, end - i), format.flags};
        argumentCount = std::max(argumentCount, format.index + 1);
    }
    i = end;
    return true;
}

KFormatScanner::KFormatScanner(const KString& pattern, const KString& input) : m_scanned(new Scanned) {
    m_scanned->Scan(pattern, input);
}

KFormatScanner::KFormatScanner(const KFormatScanner& other) noexcept = default;
KFormatScanner& KFormatScanner::operator=(const KFormatScanner& other) noexcept = default;
KFormatScanner::~KFormatScanner() = default;

int KFormatScanner::ArgumentCount() const noexcept { return m_scanned->argumentCount; }

const KFormatScanner::Argument* KFormatScanner::Next() {
    Scanned& s = *m_scanned;
    if (s.next >= s.argumentCount) return nullptr;
    return &s.arguments[s.next++];
}

KFormatScanner& KFormatScanner::operator>>(double& value) {
    if (const Argument* argument = Next()) value = KNumberText::ParseDouble(argument->text);
    return *this;
}

KFormatScanner& KFormatScanner::operator>>(std::int64_t& value) {
    const Argument* argument = Next();
    if (!argument) return *this;
    KString digits = argument->text;
    // "{0;+}" admits an explicit plus sign, which integer parsing does not read.
    if ((argument->flags & KFormatPlaceholder::kExplicitSign) && digits.StartsWith("+")) digits.Remove(0, 1);
    const bool hexadecimal = argument->flags & KFormatPlaceholder::kHexadecimal;
    value = KNumberText::ParseInteger(digits, hexadecimal ? 16 : 10);
    return *this;
}

KFormatScanner& KFormatScanner::operator>>(KString& text) {
    if (const Argument* argument = Next()) text = argument->text;
    return *this;
}
