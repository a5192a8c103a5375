#include "foundation/platform/Module.h"

#include <cstdlib>
#include <dlfcn.h>
#include <limits.h>
#include <sys/auxv.h>
#include <unistd.h>

#include "foundation/text/Utf8.h"

namespace KPlatform {
namespace {

// POSIX paths are UTF-8 bytes.
std::u16string Widen(const char* text) {
    std::u16string result;
    KUtf8::Decoder decoder;
    const auto emit = [&](char16_t unit) { result.push_back(unit); };
    while (decoder.Feed(static_cast<unsigned char>(*text), emit)) ++text;
    return result;
}

}  // namespace

void* ModuleHandleOf(const void* address) noexcept {
    Dl_info info{};
    if (!dladdr(address, &info)) return nullptr;
    return info.dli_fbase;
}

// The program headers lie inside the program's first mapped segment.
void* ExecutableHandle() noexcept {
    return ModuleHandleOf(reinterpret_cast<const void*>(getauxval(AT_PHDR)));
}

std::u16string ModuleFilePath(void* handle) {
    Dl_info info{};
    if (handle && dladdr(handle, &info) && info.dli_fname && info.dli_fname[0] == '/') return Widen(info.dli_fname);
    // The program itself is often named without its folder.
    if (handle && handle == ExecutableHandle()) {
        char path[PATH_MAX];
        const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
        if (length > 0) {
            path[length] = '\0';
            return Widen(path);
        }
    }
    return {};
}

std::u16string ApplicationDataFolder() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/') return Widen(data);
    if (const char* home = std::getenv("HOME"); home && *home) return Widen(home) + u"/.local/share";
    return {};
}

}  // namespace KPlatform
