#pragma once
#include <array>
#include <cstdint>
#include <cstring>

#include "hosts/vst3/abi/Vst3Types.h"

namespace vst3 {

using TUID = char[16];

// A 16-byte identifier as its four 32-bit parts (l1..l4) are laid out in
// memory. Windows keeps the COM order (the first part and the two halves of
// the second little-endian); every other platform writes all four parts
// big-endian. The text form of an identifier is the same everywhere.
enum class UidOrder { Com, BigEndian };

#if defined(_WIN32)
inline constexpr UidOrder kPlatformUidOrder = UidOrder::Com;
#else
inline constexpr UidOrder kPlatformUidOrder = UidOrder::BigEndian;
#endif

struct Uid {
    std::array<std::uint8_t, 16> bytes{};

    static constexpr Uid Make(std::uint32_t l1, std::uint32_t l2, std::uint32_t l3, std::uint32_t l4,
                              UidOrder order = kPlatformUidOrder) {
        Uid uid;
        auto put = [&uid](int at, std::uint32_t value, const int (&shifts)[4]) {
            for (int i = 0; i < 4; ++i) uid.bytes[std::size_t(at + i)] = std::uint8_t(value >> shifts[i]);
        };
        constexpr int big[4] = {24, 16, 8, 0};
        constexpr int little[4] = {0, 8, 16, 24};
        constexpr int comSecond[4] = {16, 24, 0, 8};
        put(0, l1, order == UidOrder::Com ? little : big);
        put(4, l2, order == UidOrder::Com ? comSecond : big);
        put(8, l3, big);
        put(12, l4, big);
        return uid;
    }

    bool Matches(const void* other) const noexcept { return other && std::memcmp(bytes.data(), other, 16) == 0; }
    void CopyTo(void* target) const noexcept { std::memcpy(target, bytes.data(), 16); }
    friend constexpr bool operator==(const Uid&, const Uid&) = default;
};

}  // namespace vst3
