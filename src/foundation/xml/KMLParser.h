#pragma once
#include <string>
#include <vector>

#include "foundation/xml/KAttributeList.h"
#include "foundation/xml/KRepeatedTexts.h"
#include "foundation/text/KString.h"

class KBufferedReader;
class KStream;
namespace KEncoding {
class Codec;
}

// The generic markup tokenizer shared by the XML parser and the styled-text
// markup: it decodes a byte stream character by character and hands start
// tags, end tags and character data to its handler operations. Comments,
// "<!...>" declarations and unknown "[...]]>" sections are skipped; CDATA
// sections arrive as text. Every syntax error raises "Invalid file contents. "
// followed by what was wrong.
//
// Characters: codes 0 to 32 are white space, the six characters of
// "<>\"/!=" are special, everything else may be part of a name.
class KMLParser {
public:
    KMLParser() = default;
    KMLParser(const KMLParser&) = delete;
    KMLParser& operator=(const KMLParser&) = delete;
    virtual ~KMLParser() = default;

protected:
    // Reads the stream until its data ends, a zero character comes, or a
    // handler asks to stop. Decoding starts as UTF-8, or as UTF-16 when the
    // data starts with its byte-order mark.
    void Run(KStream& stream);

    // A start tag (`closing` false; the handler may take the attributes over)
    // or an end tag. "<a/>" gives both. Answers true to stop the parse.
    virtual bool OnElement(const KString& name, KAttributeList& attributes, bool closing) = 0;
    // Character data with the references decoded, or the undecoded content
    // of a CDATA section. Answers true to stop the parse.
    virtual bool OnText(const KString& text) = 0;
    // A "<?name ...?>" instruction such as the XML declaration; `name`
    // includes the question mark.
    virtual void OnInstruction(const KString& name, const KAttributeList& attributes) = 0;

    // Characters after the current one are decoded with this codec.
    void SetCodec(const KEncoding::Codec& codec) noexcept;
    [[noreturn]] static void RaiseSyntaxError(const char* what);

private:
    bool Peek(char16_t& c) {
        if (m_pendingIndex == m_pendingCount && !DecodeNext()) return false;
        c = m_pending[m_pendingIndex];
        return true;
    }
    bool DecodeNext();
    void AppendPlainRun(char stop);
    char16_t PeekRequired();
    char16_t NextRequired();
    void Advance() noexcept { ++m_pendingIndex; }
    void SkipWhiteSpace();
    void SkipPast(std::u16string_view terminator);
    KString ReadName();

    bool ReadCharacterData();
    bool ReadMarkup();
    bool ReadExclamation();
    bool ReadClosingTag();
    bool ReadStartTag();
    void ReadAttribute(KString name, std::vector<KAttribute>& attributes);
    KString ValueFromScratch();
    void FinishInstruction(const KString& name, const KAttributeList& attributes);

    KBufferedReader* m_reader = nullptr;
    const KEncoding::Codec* m_codec = nullptr;
    bool m_utf8 = false;
    char16_t m_pending[2] = {};
    int m_pendingCount = 0;
    int m_pendingIndex = 0;
    bool m_ended = false;
    std::u16string m_scratch;
    KRepeatedTexts m_repeated;
};
