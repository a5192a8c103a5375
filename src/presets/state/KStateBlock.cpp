#include "presets/state/KStateBlock.h"

#include "foundation/core/KException.h"
#include "foundation/xml/KStorageContext.h"
#include "plugin/core/KAudioPlugin.h"

namespace KStateBlock {

KMemoryStream Save(KAudioPlugin& plugin) {
    KXMLDocument document("settings");
    KStorageContext context(document.Root(), true);
    plugin.Store(context);
    KMemoryStream stream;
    document.WriteCompressed(stream);
    return stream;
}

std::unique_ptr<KXMLDocument> Parse(const void* data, int size) {
    if (!data || size <= 0) throw KException("The XML does not contain any elements.");
    KMemoryStream stream(data, size);
    auto document = std::make_unique<KXMLDocument>();
    document->ParseCompressedOrPlain(stream);
    return document;
}

void Load(KAudioPlugin& plugin, KXMLDocument& document, KStorageReadLog* log) {
    KStorageContext context(document.Root(), false, log);
    plugin.Store(context);
}

}  // namespace KStateBlock
