#pragma once
#include <algorithm>
#include <bit>
#include <cstddef>
#include <vector>

// A buffer that only grows, to the next power of two at or above the size
// asked for, so that repeated processing set-ups settle on one allocation.
// Growing happens during processing initialisation, never in a block.
template <class T>
class KGrowableBufferT {
public:
    // Makes room for `size` elements; the contents are zero afterwards when
    // the buffer had to grow, otherwise they are kept.
    void Reserve(std::size_t size) {
        if (size <= m_data.size()) return;
        m_data.assign(std::bit_ceil(size), T{});
    }
    void Clear() noexcept { std::fill(m_data.begin(), m_data.end(), T{}); }

    T* Data() noexcept { return m_data.data(); }
    const T* Data() const noexcept { return m_data.data(); }
    std::size_t Capacity() const noexcept { return m_data.size(); }

private:
    std::vector<T> m_data;
};
