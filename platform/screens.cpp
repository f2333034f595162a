#include "platform/screens.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <climits>

namespace plat {

namespace {

Rect FromQRect(const QRect& r) {
    return Rect::fromXywh(r.x(), r.y(), r.width(), r.height());
}

// Squared distance from p to the nearest pixel of r.
long long DistanceSquared(const Rect& r, Point p) {
    const long long dx = p.x < r.left ? r.left - p.x : (p.x >= r.right ? p.x - r.right + 1 : 0);
    const long long dy = p.y < r.top ? r.top - p.y : (p.y >= r.bottom ? p.y - r.bottom + 1 : 0);
    return dx * dx + dy * dy;
}

Rect NearestTo(const std::vector<Rect>& rects, Point p) {
    Rect best = rects.front();
    long long bestDistance = LLONG_MAX;
    for (const Rect& r : rects) {
        const long long distance = DistanceSquared(r, p);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = r;
        }
    }
    return best;
}

} // namespace

Rect PrimaryScreenRect() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? FromQRect(screen->geometry()) : Rect{};
}

Rect VirtualDesktopRect() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? FromQRect(screen->virtualGeometry()) : Rect{};
}

std::vector<Rect> AvailableRects() {
    std::vector<Rect> rects;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary)
        rects.push_back(FromQRect(primary->availableGeometry()));
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != primary)
            rects.push_back(FromQRect(screen->availableGeometry()));
    return rects;
}

Rect AvailableRectAt(Point p) {
    const std::vector<Rect> rects = AvailableRects();
    return rects.empty() ? Rect{} : NearestTo(rects, p);
}

Point CursorPos() {
    const QPoint p = QCursor::pos();
    return Point{p.x(), p.y()};
}

Rect KeepReachable(const Rect& rect, const std::vector<Rect>& workAreas) {
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
    const Rect area = NearestTo(workAreas, Point{rect.left + rect.width() / 2, rect.top});
    const int x = std::max(area.left, std::min(rect.left, area.right - rect.width()));
    const int y = std::max(area.top, std::min(rect.top, area.bottom - rect.height()));
    return rect.translated(x - rect.left, y - rect.top);
}

} // namespace plat
