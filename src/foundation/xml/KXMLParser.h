#pragma once
#include "foundation/xml/KMLParser.h"

class KStream;
class KXMLItem;

namespace KLibraryInternals {

// Builds an item tree from markup: the first element becomes the root item,
// every further element a sub-item of the open one; closing the root ends the
// parse, so anything after the root element is ignored. Text pieces are
// trimmed and joined with one space. The declaration's "encoding" selects
// the codec for the rest of the data.
class KXMLParser final : public KMLParser {
public:
    explicit KXMLParser(KXMLItem& root) noexcept : m_root(root) {}

    // Answers whether the data held an element.
    bool Parse(KStream& stream);
    // The encoding the declaration named, empty without one.
    const KString& DeclaredEncoding() const noexcept { return m_encoding; }
    // Whether the root element was closed: data cut off inside it was not.
    bool RootClosed() const noexcept { return m_foundElement && m_current == nullptr; }

private:
    bool OnElement(const KString& name, KAttributeList& attributes, bool closing) override;
    bool OnText(const KString& text) override;
    void OnInstruction(const KString& name, const KAttributeList& attributes) override;

    KXMLItem& m_root;
    KXMLItem* m_current = nullptr;
    bool m_foundElement = false;
    KString m_encoding;
};

}  // namespace KLibraryInternals
