#include "foundation/xml/KXMLDocument.h"

#include "foundation/streams/KBufferedWriter.h"
#include "foundation/text/KEncoding.h"
#include "foundation/core/KException.h"
#include "foundation/text/KFormatter.h"
#include "foundation/streams/KStream.h"
#include "foundation/xml/KXMLParser.h"
#include "foundation/xml/KXMLWriter.h"
#include "foundation/streams/KZLibStream.h"

namespace {

constexpr int kCompressedQuality = 100;

const KEncoding::Codec& CodecFor(const KString& encoding) {
    const KEncoding::Codec* codec = KEncoding::FindKnown(encoding);
    if (!codec) throw KException(KFormatter("No codec found for encoding {0}.") << encoding);
    return *codec;
}

}  // namespace

void KXMLDocument::Parse(KStream& stream) {
    m_root.Clear();
    m_root.SetName(KString());
    KLibraryInternals::KXMLParser parser(m_root);
    if (!parser.Parse(stream)) throw KException("The XML does not contain any elements.");
    if (!parser.DeclaredEncoding().IsEmpty()) m_encoding = parser.DeclaredEncoding();
    m_complete = parser.RootClosed();
}

void KXMLDocument::ParseCompressedOrPlain(KStream& stream) {
    const std::int64_t start = stream.Position();
    try {
        KZLibStream decompressed(&stream, false);
        Parse(decompressed);
    } catch (const KException&) {
        stream.Seek(start, KStream::SeekOrigin::Start);
        Parse(stream);
    }
}

void KXMLDocument::Write(KStream& stream, bool compact) const {
    const KEncoding::Codec& codec = CodecFor(m_encoding);
    codec.WriteHeader(stream);
    KBufferedWriter output(stream);
    KString declaration("<?xml version=\"1.0\" encoding=\"");
    declaration.Append(m_encoding).Append("\"?>");
    codec.WriteLine(declaration, output);
    if (compact) {
        KXMLCompactWriter(output, codec).Write(m_root);
    } else {
        KXMLIndentedWriter(output, codec).Write(m_root);
    }
    output.Flush();
}

void KXMLDocument::WriteCompressed(KStream& stream) const {
    KZLibStream compressed(&stream, true, kCompressedQuality);
    Write(compressed, true);
    compressed.Finish();
}
