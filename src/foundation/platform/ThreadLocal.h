#pragma once
#include <cstdint>

namespace KPlatform {

// Thread-local storage indices: one pointer-sized value per thread and index,
// null in every thread until it sets one.
using TlsIndex = std::uint32_t;
inline constexpr TlsIndex kInvalidTlsIndex = 0xFFFFFFFFu;

// Answers kInvalidTlsIndex when the system has no index left.
TlsIndex AllocateTlsIndex() noexcept;
void FreeTlsIndex(TlsIndex index) noexcept;
void* GetTlsValue(TlsIndex index) noexcept;
void SetTlsValue(TlsIndex index, void* value) noexcept;

}  // namespace KPlatform
