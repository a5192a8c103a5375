#include "foundation/xml/KXMLParser.h"

#include "foundation/text/KEncoding.h"
#include "foundation/core/KException.h"
#include "foundation/text/KFormatter.h"
#include "foundation/xml/KXMLItem.h"

namespace KLibraryInternals {

bool KXMLParser::Parse(KStream& stream) {
    m_current = nullptr;
    m_foundElement = false;
    Run(stream);
    return m_foundElement;
}

bool KXMLParser::OnElement(const KString& name, KAttributeList& attributes, bool closing) {
    if (closing) {
        if (!m_current || !m_current->Name().EqualsNoCase(name)) RaiseSyntaxError("Invalid closing element name.");
        m_current = m_current->Parent();
        return m_current == nullptr;
    }
    if (m_current) {
        m_current = &m_current->AddSubItem(name);
    } else {
        m_root.SetName(name);
        m_current = &m_root;
        m_foundElement = true;
    }
    m_current->SetAttributes(std::move(attributes));
    return false;
}

bool KXMLParser::OnText(const KString& text) {
    const KString trimmed = text.Trimmed();
    if (trimmed.IsEmpty()) return false;
    if (!m_current) RaiseSyntaxError("Text outside of any element.");
    m_current->AppendText(trimmed);
    return false;
}

void KXMLParser::OnInstruction(const KString& name, const KAttributeList& attributes) {
    const int encoding = attributes.IndexOf("encoding");
    if (!name.EqualsNoCase("?xml") || encoding < 0) return;
    const KString& encodingName = attributes[encoding].value;
    const KEncoding::Codec* codec = KEncoding::FindKnown(encodingName);
    if (!codec) throw KException(KFormatter("No codec found for encoding {0}.") << encodingName);
    SetCodec(*codec);
    m_encoding = encodingName;
}

}  // namespace KLibraryInternals
