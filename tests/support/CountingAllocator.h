#pragma once
// An allocator table, to hand to a module, that counts the calls passing
// through it; each value of Table is a table of its own with its own count.
#include <atomic>
#include <cstddef>
#include <cstdlib>

#include "foundation/core/Allocator.h"

template <int Table>
struct CountingAllocator {
    static inline std::atomic<int> calls{0};
    static void* Allocate(std::size_t size) {
        ++calls;
        return std::malloc(size == 0 ? 1 : size);
    }
    static void Release(void* block) {
        ++calls;
        std::free(block);
    }
    static void* Reallocate(void* block, std::size_t size) {
        ++calls;
        if (size == 0) {
            std::free(block);
            return nullptr;
        }
        return std::realloc(block, size);
    }
    static void NotifyAllocated(void*, std::size_t) {}
    static void NotifyReleased(void*) {}
    static constexpr KAllocator::Table kTable{Allocate, Release, Reallocate, NotifyAllocated, NotifyReleased};
};
