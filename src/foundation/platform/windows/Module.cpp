#include "foundation/platform/Module.h"

#include <windows.h>
#include <shlobj.h>

#include "foundation/platform/windows/WidePath.h"

namespace KPlatform {

// A null address would name the program itself to the system.
void* ModuleHandleOf(const void* address) noexcept {
    if (!address) return nullptr;
    HMODULE module = nullptr;
    const DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    if (!GetModuleHandleExW(flags, static_cast<LPCWSTR>(address), &module)) return nullptr;
    return module;
}

void* ExecutableHandle() noexcept { return GetModuleHandleW(nullptr); }

// 520 wide characters hold any path the classic file functions accept;
// a longer one comes back truncated and is treated as unknown.
std::u16string ModuleFilePath(void* handle) {
    constexpr DWORD kCapacity = 520;
    wchar_t path[kCapacity];
    const DWORD length = GetModuleFileNameW(static_cast<HMODULE>(handle), path, kCapacity);
    if (length == 0 || length >= kCapacity) return {};
    return FromWide(path, length);
}

std::u16string ApplicationDataFolder() {
    wchar_t path[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return FromWide(path, wcslen(path));
}

}  // namespace KPlatform
