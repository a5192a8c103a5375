#pragma once
#include <memory>

#include "foundation/streams/KMemoryStream.h"
#include "foundation/xml/KXMLDocument.h"

class KAudioPlugin;
class KStorageReadLog;

// The byte block a host keeps as a plug-in's state: the "settings"
// document, compact, utf-8, through zlib at level 9. Plain XML is accepted
// when reading.
namespace KStateBlock {

KMemoryStream Save(KAudioPlugin& plugin);

// The whole block read into a document before any of it reaches a plug-in,
// so that a block that cannot be read changes nothing. Raises KException
// ("The XML does not contain any elements." and the like).
std::unique_ptr<KXMLDocument> Parse(const void* data, int size);

// Loads a parsed block; `log`, when given, learns what was read.
void Load(KAudioPlugin& plugin, KXMLDocument& document, KStorageReadLog* log = nullptr);

}  // namespace KStateBlock
