#pragma once
#include "foundation/text/KString.h"

class KBufferedWriter;
class KXMLItem;
namespace KEncoding {
class Codec;
}

// Writes an item tree as markup through a codec: start tags with the
// attributes in their sorted order, escaped values and text. The two styles
// differ only in layout. The tree is walked without recursion, so any depth
// can be written.
class KXMLWriter {
public:
    KXMLWriter(KBufferedWriter& output, const KEncoding::Codec& codec) noexcept : m_output(output), m_codec(codec) {}
    KXMLWriter(const KXMLWriter&) = delete;
    KXMLWriter& operator=(const KXMLWriter&) = delete;
    virtual ~KXMLWriter() = default;

    // Writes the item and everything below it; the item is written at depth 0.
    void Write(const KXMLItem& item);

protected:
    static bool IsEmpty(const KXMLItem& item) noexcept;

    // Writes the start tag and the text (an empty item in its short form).
    virtual void Open(const KXMLItem& item, int depth) = 0;
    // Writes the end tag of an item that is not empty.
    virtual void Close(const KXMLItem& item, int depth) = 0;

    // The line under construction, handed to the codec by Emit.
    KString& Line() noexcept { return m_line; }
    void AppendStartTag(const KXMLItem& item);
    void AppendEndTag(const KXMLItem& item);
    void Emit();

private:
    KBufferedWriter& m_output;
    const KEncoding::Codec& m_codec;
    KString m_line;
};

// One tag per line, indented by one tab per depth (at most 32); text on
// lines of its own, one level deeper, wrapped at the first space found 60 or
// more characters into a line.
class KXMLIndentedWriter final : public KXMLWriter {
public:
    using KXMLWriter::KXMLWriter;

private:
    void Open(const KXMLItem& item, int depth) override;
    void Close(const KXMLItem& item, int depth) override;
    void AppendIndentation(int depth);
    void WriteText(const KString& escaped, int depth);
};

// No layout at all except a line feed after each item of depth 0 or 1; used
// for everything that is compressed.
class KXMLCompactWriter final : public KXMLWriter {
public:
    using KXMLWriter::KXMLWriter;

private:
    void Open(const KXMLItem& item, int depth) override;
    void Close(const KXMLItem& item, int depth) override;
};
