#pragma once

// A rectangle in window pixels; right and bottom are exclusive.
struct KRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    bool Contains(double px, double py) const noexcept {
        return px >= x && py >= y && px < x + width && py < y + height;
    }
    double CenterX() const noexcept { return x + width / 2; }
    double CenterY() const noexcept { return y + height / 2; }
    KRect Inset(double dx, double dy) const noexcept { return {x + dx, y + dy, width - 2 * dx, height - 2 * dy}; }
};
