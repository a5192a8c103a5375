#pragma once
#include <cstddef>

class KLock;

// The process-wide allocator table. Every buffer the library owns (string
// blocks, stream blocks) goes through it, so that a companion module can make
// this library allocate from its own heap (see KLibraryDLLInitialize).
namespace KAllocator {

struct Table {
    void* (*allocate)(std::size_t size);                 // raises "Out of memory."
    void (*release)(void* block);                        // raises "NULL cannot be released."
    void* (*reallocate)(void* block, std::size_t size);  // size 0 releases, null block allocates
    void (*notifyAllocated)(void* block, std::size_t size);
    void (*notifyReleased)(void* block);
};

const Table& Current() noexcept;
const Table& Default() noexcept;
void Replace(const Table& table) noexcept;

// The library's global lock, taken around process-wide work.
KLock* GlobalLock() noexcept;
void ReplaceGlobalLock(KLock* lock) noexcept;

inline void* Allocate(std::size_t size) { return Current().allocate(size); }
inline void Release(void* block) { Current().release(block); }
inline void* Reallocate(void* block, std::size_t size) { return Current().reallocate(block, size); }

}  // namespace KAllocator
