#include "hosts/vst2/KVst2Text.h"

#include <cstring>
#include <string>

namespace Vst2 {

namespace {

bool IsContinuationByte(char c) noexcept { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

void CopyHostText(const KString& text, char* buffer, int capacity) noexcept {
    if (!buffer || capacity < 1) return;
    std::string bytes;
    try {
        bytes = text.ToUTF8();
    } catch (...) {
        bytes.clear();  // out of memory: the host gets an empty text
    }
    std::size_t length = std::min(bytes.size(), std::size_t(capacity - 1));
    while (length > 0 && length < bytes.size() && IsContinuationByte(bytes[length])) --length;
    std::memcpy(buffer, bytes.data(), length);
    buffer[length] = '\0';
}

}  // namespace Vst2
