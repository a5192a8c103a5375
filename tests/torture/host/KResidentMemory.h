#pragma once
// The process's resident memory, read from /proc/self/statm.
#include <cstdint>

// Resident bytes; 0 when the figure cannot be read.
std::uint64_t ResidentBytes();

// Whether this build runs under a sanitizer, whose shadow memory and
// quarantine make resident memory meaningless as a leak measure.
constexpr bool kSanitizedBuild =
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
    true;
#else
    false;
#endif
#else
    false;
#endif
