#pragma once

// The two axes of a layout. A column stacks controls along the vertical
// axis, a row along the horizontal one.
enum class KAxis { Horizontal, Vertical };

constexpr KAxis Other(KAxis axis) noexcept { return axis == KAxis::Horizontal ? KAxis::Vertical : KAxis::Horizontal; }

// An inclusive rectangle in pixels: width = right - left + 1.
struct KLayoutRect {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    // What a layout that consumes everything leaves.
    static constexpr KLayoutRect Empty() noexcept { return {0, 0, -1, -1}; }

    int Width() const noexcept { return right - left + 1; }
    int Height() const noexcept { return bottom - top + 1; }
    int Start(KAxis axis) const noexcept { return axis == KAxis::Horizontal ? left : top; }
    int End(KAxis axis) const noexcept { return axis == KAxis::Horizontal ? right : bottom; }
    int Extent(KAxis axis) const noexcept { return End(axis) - Start(axis) + 1; }
    void SetRange(KAxis axis, int start, int end) noexcept {
        (axis == KAxis::Horizontal ? left : top) = start;
        (axis == KAxis::Horizontal ? right : bottom) = end;
    }
    bool operator==(const KLayoutRect&) const = default;
};
