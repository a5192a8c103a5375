#include "hosts/common/KGlobalSettings.h"

#include "foundation/core/Guard.h"
#include "foundation/platform/DataFolder.h"
#include "foundation/streams/KStdFileStream.h"
#include "foundation/xml/KXMLDocument.h"

namespace KGlobalSettings {

KString FilePath() {
    const std::u16string folder = KPlatform::MakerDataFolder(u"Quenlor");
    if (folder.empty()) return KString();
    return KString::FromUTF16(folder + u"/GlobalSettings.xml");
}

std::int64_t Integer(const KString& name, std::int64_t fallback) noexcept {
    return KGuard::Run("KGlobalSettings::Integer", fallback, [&] {
        const KString path = FilePath();
        if (path.IsEmpty()) return fallback;
        KStdFileStream file;
        file.Open(path, KStdFileStream::OpenRead);  // a missing file raises
        KXMLDocument document;
        document.Parse(file);
        return document.Root().IntegerAttribute(name, fallback);
    });
}

}  // namespace KGlobalSettings
