#pragma once

#include <algorithm>

namespace SkinUI {

// Plain geometry records shared by the whole framework (client pixels).
struct UIPoint {
    int x = 0;
    int y = 0;
    bool operator==(const UIPoint&) const = default;
};

struct UISize {
    int cx = 0;
    int cy = 0;
    bool operator==(const UISize&) const = default;
};

struct UIRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const UIRect&) const = default;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    // Half-open: the right and bottom edges lie outside.
    bool Contains(UIPoint pt) const { return pt.x >= left && pt.x < right && pt.y >= top && pt.y < bottom; }
    bool Intersects(const UIRect& other) const { return !Intersection(other).IsEmpty(); }
    UIRect Intersection(const UIRect& other) const
    {
        UIRect result{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                      std::min(bottom, other.bottom)};
        return result.IsEmpty() ? UIRect{} : result;
    }
    // Shrinks by the four insets of `by` (left, top, right, bottom).
    UIRect Deflated(const UIRect& by) const
    {
        return UIRect{left + by.left, top + by.top, right - by.right, bottom - by.bottom};
    }
    UIRect Offset(int dx, int dy) const { return UIRect{left + dx, top + dy, right + dx, bottom + dy}; }
};

} // namespace SkinUI
