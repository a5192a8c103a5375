#pragma once
#include "foundation/text/KString.h"
#include "foundation/xml/KXMLItem.h"

class KStream;

// An XML document: the root item and the name of the encoding it is
// written in ("utf-8" unless set, or as a parsed declaration named it).
class KXMLDocument {
public:
    KXMLDocument() noexcept = default;
    explicit KXMLDocument(const KString& rootName) noexcept : m_root(rootName) {}

    KXMLItem& Root() noexcept { return m_root; }
    const KXMLItem& Root() const noexcept { return m_root; }
    const KString& Encoding() const noexcept { return m_encoding; }
    void SetEncoding(const KString& encoding) { m_encoding = encoding; }

    // Replaces the tree with the document read from the stream; raises "The
    // XML does not contain any elements." when the data holds none.
    void Parse(KStream& stream);
    // Reads a zlib-compressed document, or, when the data is not one, the
    // plain document from the same start position. The stream must be able
    // to seek back.
    void ParseCompressedOrPlain(KStream& stream);
    // Whether the last parse ended with the root element closed. The parser
    // takes data cut off inside the root as far as it goes; files that must
    // be whole check this.
    bool ParsedCompletely() const noexcept { return m_complete; }

    // The codec's header, the declaration line and the tree, indented or
    // compact. An encoding name no codec knows raises "No codec found for
    // encoding <name>.".
    void Write(KStream& stream, bool compact) const;
    // The compact form through a zlib stream of quality 100.
    void WriteCompressed(KStream& stream) const;

private:
    KXMLItem m_root;
    KString m_encoding = "utf-8";
    bool m_complete = false;
};
