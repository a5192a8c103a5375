#include "foundation/core/Allocator.h"

#include <cstdlib>

#include "foundation/core/KException.h"
#include "foundation/threading/KLock.h"

namespace KAllocator {
namespace {

void* SystemAllocate(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (!block) throw KException("Out of memory.");
    return block;
}

void SystemRelease(void* block) {
    if (!block) throw KException("NULL cannot be released.");
    std::free(block);
}

void* SystemReallocate(void* block, std::size_t size) {
    if (size == 0) {
        if (block) std::free(block);
        return nullptr;
    }
    if (!block) return SystemAllocate(size);
    void* grown = std::realloc(block, size);
    if (!grown) throw KException("Out of memory.");
    return grown;
}

void NotifyNothing(void*, std::size_t) {}
void NotifyNothingReleased(void*) {}

constexpr Table kSystemTable{SystemAllocate, SystemRelease, SystemReallocate, NotifyNothing,
                             NotifyNothingReleased};

Table gTable = kSystemTable;

KLock& LibraryGlobalLock() {
    static KLock lock;
    return lock;
}

KLock* gGlobalLock = nullptr;

}  // namespace

const Table& Current() noexcept { return gTable; }
const Table& Default() noexcept { return kSystemTable; }
void Replace(const Table& table) noexcept { gTable = table; }

KLock* GlobalLock() noexcept { return gGlobalLock ? gGlobalLock : &LibraryGlobalLock(); }
void ReplaceGlobalLock(KLock* lock) noexcept { gGlobalLock = lock; }

}  // namespace KAllocator
