#pragma once
// Include in exactly one .cpp of a test program: replaces the global
// allocation functions with counting ones (all plain and nothrow forms, so
// that every allocation and release pairs up under AddressSanitizer).
#include <cstdlib>
#include <new>

#include "support/AllocationCounter.h"

namespace AllocationCounter {
namespace {
thread_local std::size_t tCount = 0;
}
std::size_t Count() noexcept { return tCount; }
}  // namespace AllocationCounter

void* operator new(std::size_t size) {
    ++AllocationCounter::tCount;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    ++AllocationCounter::tCount;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++AllocationCounter::tCount;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    ++AllocationCounter::tCount;
    return std::malloc(size ? size : 1);
}
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
