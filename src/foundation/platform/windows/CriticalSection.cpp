#include "foundation/platform/CriticalSection.h"

#include <windows.h>

namespace KPlatform {
namespace {
CRITICAL_SECTION* Section(unsigned char* storage) { return reinterpret_cast<CRITICAL_SECTION*>(storage); }
}  // namespace

static_assert(sizeof(CRITICAL_SECTION) <= 64, "storage too small for CRITICAL_SECTION");

CriticalSection::CriticalSection() { InitializeCriticalSection(Section(m_storage)); }
CriticalSection::~CriticalSection() { DeleteCriticalSection(Section(m_storage)); }

void CriticalSection::Enter() noexcept { EnterCriticalSection(Section(m_storage)); }
bool CriticalSection::TryEnter() noexcept { return TryEnterCriticalSection(Section(m_storage)) != FALSE; }
void CriticalSection::Leave() noexcept { LeaveCriticalSection(Section(m_storage)); }

}  // namespace KPlatform
