#include "platform/screens.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <climits>

namespace plat {

namespace {

Rect fromQRect(const QRect& r) {
    return Rect::fromXywh(r.x(), r.y(), r.width(), r.height());
}

// Squared distance from p to the nearest pixel of r.
long long distanceSquared(const Rect& r, Point p) {
    const long long dx = p.x < r.left ? r.left - p.x : (p.x >= r.right ? p.x - r.right + 1 : 0);
    const long long dy = p.y < r.top ? r.top - p.y : (p.y >= r.bottom ? p.y - r.bottom + 1 : 0);
    return dx * dx + dy * dy;
}

Rect nearestTo(const std::vector<Rect>& rects, Point p) {
    Rect best = rects.front();
    long long bestDistance = LLONG_MAX;
    for (const Rect& r : rects) {
        const long long distance = distanceSquared(r, p);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = r;
        }
    }
    return best;
}

} // namespace

Rect primaryScreenRect() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? fromQRect(screen->geometry()) : Rect{};
}

Rect virtualDesktopRect() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? fromQRect(screen->virtualGeometry()) : Rect{};
}

std::vector<Rect> availableRects() {
    std::vector<Rect> rects;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary)
        rects.push_back(fromQRect(primary->availableGeometry()));
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != primary)
            rects.push_back(fromQRect(screen->availableGeometry()));
    return rects;
}

Rect availableRectAt(Point p) {
    const std::vector<Rect> rects = availableRects();
    return rects.empty() ? Rect{} : nearestTo(rects, p);
}

Point cursorPos() {
    const QPoint p = QCursor::pos();
    return Point{p.x(), p.y()};
}

Rect keepReachable(const Rect& rect, const std::vector<Rect>& workAreas) {
    if (workAreas.empty())
        return rect;
    const int band = std::min(rect.height(), 30);
    const Rect caption{rect.left, rect.top, rect.right, rect.top + std::max(band, 1)};
    const int needed = std::min(rect.width(), 40);
    for (const Rect& area : workAreas) {
        const Rect seen = caption.intersected(area);
        if (!seen.isEmpty() && seen.width() >= needed && seen.top == caption.top)
            return rect;
    }
    const Rect area = nearestTo(workAreas, Point{rect.left + rect.width() / 2, rect.top});
    const int x = std::max(area.left, std::min(rect.left, area.right - rect.width()));
    const int y = std::max(area.top, std::min(rect.top, area.bottom - rect.height()));
    return rect.translated(x - rect.left, y - rect.top);
}

} // namespace plat
