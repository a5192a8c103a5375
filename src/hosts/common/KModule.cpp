#include "hosts/common/KModule.h"

#include <algorithm>

#include "foundation/platform/Module.h"

KModule::KModule(void* instanceHandle) noexcept
    : m_instanceHandle(instanceHandle ? instanceHandle : KPlatform::ExecutableHandle()) {}

KModule::~KModule() = default;

void KModule::Initialize() {
    m_libraryPath = KString::FromUTF16(KPlatform::ModuleFilePath(m_instanceHandle));
    // Windows names its files with backslashes, and accepts forward slashes too.
    const int slash = std::max(m_libraryPath.FindLast(u'/'), m_libraryPath.FindLast(u'\\'));
    m_libraryFolder = slash > 0 ? m_libraryPath.Substring(0, slash) : KString();
}
