#include "foundation/xml/KMLParser.h"

#include <array>
#include <cstdint>

#include "foundation/streams/KBufferedReader.h"
#include "foundation/text/KEncoding.h"
#include "foundation/core/KException.h"
#include "foundation/text/KFormatter.h"
#include "foundation/xml/KXMLEntities.h"

namespace {

enum CharacterClass : std::uint8_t { kName, kWhiteSpace, kSpecial };

constexpr std::array<std::uint8_t, 256> kClasses = [] {
    std::array<std::uint8_t, 256> classes{};
    for (int c = 0; c <= 32; ++c) classes[std::size_t(c)] = kWhiteSpace;
    for (char c : std::string_view("<>\"/!=")) classes[std::size_t(c)] = kSpecial;
    return classes;
}();

CharacterClass ClassOf(char16_t c) noexcept { return c < 256 ? CharacterClass(kClasses[c]) : kName; }

bool IsOnlyWhiteSpace(std::u16string_view text) noexcept {
    for (char16_t c : text)
        if (ClassOf(c) != kWhiteSpace) return false;
    return true;
}

constexpr std::uint8_t kUTF16Mark[2] = {0xFF, 0xFE};

}  // namespace

void KMLParser::RaiseSyntaxError(const char* what) {
    throw KException(KFormatter("Invalid file contents. {0}") << what);
}

void KMLParser::Run(KStream& stream) {
    KBufferedReader reader(stream);
    m_reader = &reader;
    SetCodec(KEncoding::UTF8());
    m_pendingCount = m_pendingIndex = 0;
    m_ended = false;
    if (reader.SkipPrefix(kUTF16Mark, 2)) SetCodec(KEncoding::UTF16());
    char16_t c;
    while (!ReadCharacterData() && Peek(c)) {
        Advance();  // the "<" that ended the character data
        if (ReadMarkup()) break;
    }
    m_reader = nullptr;
}

void KMLParser::SetCodec(const KEncoding::Codec& codec) noexcept {
    m_codec = &codec;
    m_utf8 = m_codec == &KEncoding::UTF8();
}

// Characters are decoded one at a time, so that a codec chosen by the
// declaration applies from the very next byte. In UTF-8, the encoding of
// nearly every document, a byte from 1 to 0x7F is its own character and
// needs no decoder.
bool KMLParser::DecodeNext() {
    if (m_ended) return false;
    m_pendingIndex = 0;
    std::uint8_t byte;
    if (m_utf8 && m_reader->PeekByte(byte) && byte != 0 && byte < 0x80) {
        m_reader->SkipByte();
        m_pending[0] = byte;
        m_pendingCount = 1;
        return true;
    }
    m_pendingCount = m_codec->ReadCharacter(*m_reader, m_pending);
    if (m_pendingCount == 0 || m_pending[0] == 0) {
        m_pendingCount = 0;
        m_ended = true;
        return false;
    }
    return true;
}

// Long texts, such as the hexadecimal banks of a state, are mostly ASCII:
// their runs are copied from the reader's buffer without decoding each
// character. The run ends before `stop`, a zero byte, a byte of a longer
// sequence or the end of the buffered bytes; the caller reads on character
// by character from there.
void KMLParser::AppendPlainRun(char stop) {
    if (!m_utf8 || m_pendingIndex != m_pendingCount || m_ended) return;
    const std::span<const std::uint8_t> ahead = m_reader->Buffered();
    std::size_t length = 0;
    while (length < ahead.size() && ahead[length] != 0 && ahead[length] < 0x80 && ahead[length] != stop) ++length;
    m_scratch.append(ahead.begin(), ahead.begin() + std::ptrdiff_t(length));
    m_reader->Skip(length);
}

char16_t KMLParser::PeekRequired() {
    char16_t c;
    if (!Peek(c)) RaiseSyntaxError("Unexpected end of data.");
    return c;
}

char16_t KMLParser::NextRequired() {
    const char16_t c = PeekRequired();
    Advance();
    return c;
}

void KMLParser::SkipWhiteSpace() {
    char16_t c;
    while (Peek(c) && ClassOf(c) == kWhiteSpace) Advance();
}

void KMLParser::SkipPast(std::u16string_view terminator) {
    char16_t window[3] = {};
    const std::size_t length = terminator.size();
    for (std::size_t seen = 1;; ++seen) {
        for (std::size_t i = 1; i < length; ++i) window[i - 1] = window[i];
        window[length - 1] = NextRequired();
        if (seen >= length && std::u16string_view(window, length) == terminator) return;
    }
}

KString KMLParser::ReadName() {
    m_scratch.clear();
    char16_t c;
    while (Peek(c) && ClassOf(c) == kName) {
        m_scratch.push_back(c);
        Advance();
    }
    return m_repeated.Get(m_scratch);
}

// Character data up to the next "<" is one piece; the text handler trims
// it at both ends. Pieces of white space alone are not reported.
bool KMLParser::ReadCharacterData() {
    m_scratch.clear();
    char16_t c;
    for (AppendPlainRun('<'); Peek(c) && c != u'<'; AppendPlainRun('<')) {
        Advance();
        m_scratch.push_back(c);
    }
    if (IsOnlyWhiteSpace(m_scratch)) return false;
    return OnText(KXMLEntities::Decode(m_scratch));
}

bool KMLParser::ReadMarkup() {
    const char16_t c = PeekRequired();
    if (c == u'!') {
        Advance();
        return ReadExclamation();
    }
    if (c == u'/') {
        Advance();
        return ReadClosingTag();
    }
    return ReadStartTag();
}

bool KMLParser::ReadExclamation() {
    const char16_t c = NextRequired();
    if (c == u'-' && PeekRequired() == u'-') {
        Advance();
        SkipPast(u"-->");
        return false;
    }
    if (c != u'[') {
        SkipPast(u">");
        return false;
    }
    m_scratch.clear();
    for (char16_t w; (w = NextRequired()) != u'[';) m_scratch.push_back(w);
    if (!KString::FromUTF16(m_scratch).EqualsNoCase("CDATA")) {
        SkipPast(u"]]>");
        return false;
    }
    m_scratch.clear();
    while (!m_scratch.ends_with(u"]]>")) m_scratch.push_back(NextRequired());
    m_scratch.resize(m_scratch.size() - 3);
    return !m_scratch.empty() && OnText(KString::FromUTF16(m_scratch));
}

bool KMLParser::ReadClosingTag() {
    const KString name = ReadName();
    SkipWhiteSpace();
    if (NextRequired() != u'>') RaiseSyntaxError("Invalid closing element syntax.");
    KAttributeList none;
    return OnElement(name, none, true);
}

bool KMLParser::ReadStartTag() {
    KString name = ReadName();
    if (name.IsEmpty()) RaiseSyntaxError("No element name found.");
    std::vector<KAttribute> attributes;
    const bool instruction = name[0] == u'?';
    if (instruction && name.Length() > 1 && name[name.Length() - 1] == u'?') {
        name.Remove(name.Length() - 1, 1);  // "<?name?>": the name swallowed the closing mark
        FinishInstruction(name, {});
        return false;
    }
    for (;;) {
        SkipWhiteSpace();
        const char16_t c = PeekRequired();
        if (c == u'>' || c == u'/') {
            Advance();
            if (instruction) RaiseSyntaxError("Invalid special element sequence.");
            if (c == u'/' && NextRequired() != u'>') RaiseSyntaxError("Invalid element finishing sequence.");
            KAttributeList sorted = KAttributeList::FromUnsorted(std::move(attributes));
            const bool stop = OnElement(name, sorted, false);
            if (stop || c == u'>') return stop;
            KAttributeList none;
            return OnElement(name, none, true);
        }
        if (ClassOf(c) == kSpecial) RaiseSyntaxError("Special character found where attribute expected.");
        KString attributeName = ReadName();
        if (instruction && attributeName == "?") {
            FinishInstruction(name, KAttributeList::FromUnsorted(std::move(attributes)));
            return false;
        }
        ReadAttribute(std::move(attributeName), attributes);
    }
}

void KMLParser::FinishInstruction(const KString& name, const KAttributeList& attributes) {
    if (NextRequired() != u'>') RaiseSyntaxError("Invalid special element sequence.");
    OnInstruction(name, attributes);
}

void KMLParser::ReadAttribute(KString name, std::vector<KAttribute>& attributes) {
    SkipWhiteSpace();
    if (NextRequired() != u'=') RaiseSyntaxError("Invalid character found where attribute expected.");
    SkipWhiteSpace();
    m_scratch.clear();
    char16_t c = PeekRequired();
    if (c == u'"') {
        Advance();
        for (AppendPlainRun('"'); (c = NextRequired()) != u'"'; AppendPlainRun('"')) m_scratch.push_back(c);
    } else {
        while (Peek(c) && ClassOf(c) == kName) {
            m_scratch.push_back(c);
            Advance();
        }
    }
    attributes.push_back(KAttribute{std::move(name), ValueFromScratch()});
}

// The attribute value collected in the scratch buffer. Short values without
// references repeat as often as names do.
KString KMLParser::ValueFromScratch() {
    constexpr std::size_t kLongestRepeated = 32;
    if (m_scratch.size() <= kLongestRepeated && m_scratch.find(u'&') == std::u16string::npos)
        return m_repeated.Get(m_scratch);
    return KXMLEntities::Decode(m_scratch);
}
