#include "support/AllocationCounter.h"

#include <cstdlib>
#include <new>

#include "foundation/core/Allocator.h"

// Two ways to see every allocation. A sanitizer runtime owns operator new
// (clang links it whole into the program, so a second definition clashes),
// but it reports every allocation, malloc and the allocator table's
// included, through its malloc hook. Without a sanitizer the program
// replaces operator new and wraps the allocator table.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
#define HALVANE_COUNT_THROUGH_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer) || __has_feature(address_sanitizer)
#define HALVANE_COUNT_THROUGH_SANITIZER 1
#endif
#endif

namespace AllocationCounter {
namespace {
thread_local std::size_t tCount = 0;
}
std::size_t Count() noexcept { return tCount; }
}  // namespace AllocationCounter

#ifdef HALVANE_COUNT_THROUGH_SANITIZER

// Part of every sanitizer runtime of GCC and clang; GCC ships no header for it.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, std::size_t),
                                                         void (*free_hook)(const volatile void*));

namespace {

void CountMalloc(const volatile void*, std::size_t) { ++AllocationCounter::tCount; }
void IgnoreFree(const volatile void*) {}

[[maybe_unused]] const int kHooksInstalled = __sanitizer_install_malloc_and_free_hooks(CountMalloc, IgnoreFree);

}  // namespace

#else

namespace {

void* Allocate(std::size_t size) {
    ++AllocationCounter::tCount;
    return std::malloc(size ? size : 1);
}

void* AllocateOrThrow(std::size_t size) {
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
    ++AllocationCounter::tCount;
    const std::size_t align = std::size_t(alignment);
    // aligned_alloc wants a size that is a multiple of the alignment.
    return std::aligned_alloc(align, (size + align - 1) / align * align);
}

void* AllocateAlignedOrThrow(std::size_t size, std::align_val_t alignment) {
    if (void* p = AllocateAligned(size, alignment)) return p;
    throw std::bad_alloc();
}

// The library's table, counted: every block it hands out is an allocation,
// and so is a reallocation, which may move the block.
void* TableAllocate(std::size_t size) {
    ++AllocationCounter::tCount;
    return KAllocator::Default().allocate(size);
}

void* TableReallocate(void* block, std::size_t size) {
    if (size != 0) ++AllocationCounter::tCount;
    return KAllocator::Default().reallocate(block, size);
}

struct CountingTableInstaller {
    CountingTableInstaller() {
        KAllocator::Table table = KAllocator::Default();
        table.allocate = TableAllocate;
        table.reallocate = TableReallocate;
        KAllocator::Replace(table);
    }
};
const CountingTableInstaller kInstaller;

}  // namespace

void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new(std::size_t size, std::align_val_t alignment) { return AllocateAlignedOrThrow(size, alignment); }
void* operator new[](std::size_t size, std::align_val_t alignment) { return AllocateAlignedOrThrow(size, alignment); }
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return AllocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return AllocateAligned(size, alignment);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }

#endif
