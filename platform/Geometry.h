#pragma once

#include <algorithm>
#include <cstdint>

namespace Platform {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int32_t cx = 0;
    int32_t cy = 0;
    bool operator==(const Size&) const = default;
};

// Left/top inclusive, right/bottom exclusive, as window rectangles are.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool operator==(const Rect&) const = default;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    // The common part, or an empty rectangle when there is none.
    Rect Intersect(const Rect& o) const
    {
        Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
        return r.IsEmpty() ? Rect{} : r;
    }
    bool Intersects(const Rect& o) const { return !Intersect(o).IsEmpty(); }
    // The smallest rectangle holding both; an empty side does not count.
    Rect Union(const Rect& o) const
    {
        if (IsEmpty()) return o;
        if (o.IsEmpty()) return *this;
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
    }
    Rect Offset(int32_t dx, int32_t dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    // Moves each side inwards by the matching side of insets.
    Rect Deflate(const Rect& insets) const
    {
        return {left + insets.left, top + insets.top, right - insets.right, bottom - insets.bottom};
    }
};

}  // namespace Platform
