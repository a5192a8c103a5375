#pragma once
#include <memory>
#include <string>

#include "foundation/streams/KMemoryStream.h"
#include "foundation/xml/KXMLDocument.h"
#include "ui/layout/KLayoutControl.h"
#include "ui/layout/KLayoutDescription.h"

// A window laid out from an XML description given as text.
inline std::unique_ptr<KLayoutControl> WindowFromXml(const std::string& xml) {
    KMemoryStream stream(xml.data(), int(xml.size()));
    KXMLDocument document;
    document.Parse(stream);
    return KLayoutDescription::Load(document.Root());
}

inline KLayoutControl& Named(const KLayoutControl& window, const char* name) {
    return *window.FindDescendant(KString::FromUTF8(name));
}
