#pragma once
#include <type_traits>
#include <utility>

#include "foundation/core/KException.h"

// Every entry reached from a host, the system or a worker thread runs in a
// guard: a KException is dropped silently, anything else is reported as
// "SYSTEM EXCEPTION! <name>" to the diagnostic sink, and the entry answers a
// harmless default. The path without a failure costs nothing.
namespace KGuard {

void ReportUnexpected(const char* guardName) noexcept;

template <class Body, class Result = std::invoke_result_t<Body>>
    requires(!std::is_void_v<Result>)
Result Run(const char* guardName, std::type_identity_t<Result> fallback, Body&& body) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (const KException&) {
    } catch (...) {
        ReportUnexpected(guardName);
    }
    return fallback;
}

template <class Body>
void Run(const char* guardName, Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
    } catch (const KException&) {
    } catch (...) {
        ReportUnexpected(guardName);
    }
}

}  // namespace KGuard
