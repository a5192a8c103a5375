#include "foundation/platform/DataFolder.h"

#include "foundation/platform/File.h"
#include "foundation/platform/Module.h"

namespace KPlatform {

std::u16string MakerDataFolder(std::u16string_view makerName) {
    std::u16string folder = ApplicationDataFolder();
    if (folder.empty() || makerName.empty()) return {};
    if (folder.back() != u'/' && folder.back() != u'\\') folder.push_back(u'/');
    folder.append(makerName);
    return CreateFolderPath(folder) ? folder : std::u16string();
}

}  // namespace KPlatform
