#pragma once
#include <cstddef>

// Counts heap allocations made through operator new on the calling thread
// (the counting operators are defined in AllocationCounter.cpp of the test
// program that includes this).
namespace AllocationCounter {
std::size_t Count() noexcept;
}
