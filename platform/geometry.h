#pragma once

#include <algorithm>

namespace plat {

// Points, sizes and rectangles as the skin code uses them: a rectangle holds the pixels from (left, top) up
// to, but not including, (right, bottom).

struct Point {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    friend constexpr bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static constexpr Rect fromXywh(int x, int y, int width, int height) {
        return Rect{x, y, x + width, y + height};
    }

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr Size size() const { return Size{width(), height()}; }
    constexpr Point topLeft() const { return Point{left, top}; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    constexpr bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    constexpr bool contains(Point p) const { return contains(p.x, p.y); }

    // Empty when the two do not overlap.
    constexpr Rect intersected(const Rect& o) const {
        Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
               std::min(bottom, o.bottom)};
        return r.isEmpty() ? Rect{} : r;
    }
    // The smallest rectangle holding both; an empty side does not count.
    constexpr Rect united(const Rect& o) const {
        if (isEmpty())
            return o;
        if (o.isEmpty())
            return *this;
        return Rect{std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
                    std::max(bottom, o.bottom)};
    }
    constexpr Rect translated(int dx, int dy) const {
        return Rect{left + dx, top + dy, right + dx, bottom + dy};
    }
    constexpr Rect inflated(int dx, int dy) const {
        return Rect{left - dx, top - dy, right + dx, bottom + dy};
    }

    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

} // namespace plat
