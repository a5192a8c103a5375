#pragma once
#include <cstddef>

// Counts the heap allocations made on the calling thread: operator new in
// all its forms and the library's own allocator table (strings, memory
// streams). Test programs that use it link the halvane_allocation_counter
// object library.
namespace AllocationCounter {
std::size_t Count() noexcept;
}
