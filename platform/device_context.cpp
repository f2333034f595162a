#include "platform/device_context.h"

#include "platform/font.h"
#include "platform/image_file.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

using namespace Qt::StringLiterals;

namespace plat {

namespace {

constexpr QImage::Format kFormat = QImage::Format_ARGB32_Premultiplied;

QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

QColor ToQColor(ColorRef c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

const Font& DefaultFont() {
    static const Font kFont;
    return kFont;
}

} // namespace

struct DeviceContext::Data {
    QImage image;
    std::unique_ptr<QPainter> painter; // open while drawing; ended before pixels are touched directly
    const Font* font = nullptr;
    ColorRef textColor = 0;
    StretchMode stretch = StretchMode::Halftone;
    ColorRef penColor = 0;
    int penWidth = 1;
    Point current;
    std::vector<Rect> clips; // each entry is the whole clip in force after that push

    Rect bounds() const { return Rect{0, 0, image.width(), image.height()}; }
    Rect clip() const { return clips.empty() ? bounds() : clips.back().intersected(bounds()); }
    bool drawable() const { return !image.isNull() && !clip().isEmpty(); }
    const Font& currentFont() const { return font ? *font : DefaultFont(); }

    QPainter& paint() {
        if (!painter) {
            painter = std::make_unique<QPainter>(&image);
            painter->setRenderHint(QPainter::TextAntialiasing, true);
            if (!clips.empty())
                painter->setClipRect(ToQRect(clip()));
        }
        return *painter;
    }
    void settle() { painter.reset(); }
    void applyClip() {
        if (painter) {
            if (clips.empty())
                painter->setClipping(false);
            else
                painter->setClipRect(ToQRect(clip()));
        }
    }

    // Copies (sx, sy, sw, sh) of src's surface (pixels outside it read as transparent), scaled to w x h.
    static QImage piece(Data& src, int sx, int sy, int sw, int sh, int w, int h, bool smooth) {
        src.settle();
        QImage part = src.image.copy(sx, sy, sw, sh);
        if (part.format() != kFormat)
            part = part.convertToFormat(kFormat);
        if (sw != w || sh != h)
            part = part.scaled(w, h, Qt::IgnoreAspectRatio,
                               smooth ? Qt::SmoothTransformation : Qt::FastTransformation)
                       .convertToFormat(kFormat);
        return part;
    }

    void put(int x, int y, const QImage& part, QPainter::CompositionMode mode, qreal opacity = 1.0) {
        QPainter& p = paint();
        p.setCompositionMode(mode);
        p.setOpacity(opacity);
        p.drawImage(QPoint(x, y), part);
        p.setOpacity(1.0);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }

    void writePixel(int x, int y, std::uint32_t argb) {
        reinterpret_cast<std::uint32_t*>(image.scanLine(y))[x] = argb;
    }
};

DeviceContext::DeviceContext() : m_d(std::make_unique<Data>()) {}

DeviceContext::DeviceContext(int width, int height) : DeviceContext() {
    create(width, height);
}

DeviceContext::~DeviceContext() {
    m_d->settle();
}

bool DeviceContext::create(int width, int height) {
    m_d->settle();
    m_d->clips.clear();
    m_d->image = QImage();
    if (width < 1 || height < 1)
        return false;
    // Zeroed memory is transparent black already; a large block comes zeroed from the system, so the pixels
    // are not written twice.
    const qsizetype bytesPerLine = qsizetype(width) * 4;
    if (bytesPerLine > std::numeric_limits<int>::max() / height)
        return false;
    void* pixels = std::calloc(size_t(height), size_t(bytesPerLine));
    if (!pixels)
        return false;
    QImage image(static_cast<uchar*>(pixels), width, height, bytesPerLine, kFormat, std::free, pixels);
    if (image.isNull()) {
        std::free(pixels);
        return false;
    }
    m_d->image = std::move(image);
    return true;
}

bool DeviceContext::loadImage(const QString& path) {
    return adoptImage(ReadImageFile(path));
}

bool DeviceContext::loadImageData(const QByteArray& bytes) {
    return adoptImage(QImage::fromData(bytes));
}

bool DeviceContext::adoptImage(QImage loaded) {
    if (loaded.isNull())
        return false;
    m_d->settle();
    m_d->clips.clear();
    // Opaque pixels (0xffRRGGBB) are their own premultiplied form: no conversion pass.
    if (loaded.format() == QImage::Format_RGB32)
        loaded.reinterpretAsFormat(kFormat);
    m_d->image = std::move(loaded).convertToFormat(kFormat);
    return !m_d->image.isNull();
}

bool DeviceContext::saveImage(const QString& path) const {
    m_d->settle();
    return !m_d->image.isNull() && m_d->image.save(path, "PNG");
}

int DeviceContext::width() const {
    return m_d->image.width();
}
int DeviceContext::height() const {
    return m_d->image.height();
}
bool DeviceContext::isNull() const {
    return m_d->image.isNull();
}

ColorRef DeviceContext::getPixel(int x, int y) const {
    if (!m_d->bounds().contains(x, y))
        return kInvalidColor;
    return ColorOfArgb(pixelArgb(x, y));
}

void DeviceContext::setPixel(int x, int y, ColorRef color) {
    if (!m_d->clip().contains(x, y) || m_d->image.isNull())
        return;
    m_d->settle();
    m_d->writePixel(x, y, PremultipliedArgb(color, 255));
}

std::uint32_t DeviceContext::pixelArgb(int x, int y) const {
    if (!m_d->bounds().contains(x, y))
        return 0;
    m_d->settle();
    return reinterpret_cast<const std::uint32_t*>(m_d->image.constScanLine(y))[x];
}

std::uint32_t* DeviceContext::scanLine(int y) {
    if (y < 0 || y >= m_d->image.height())
        return nullptr;
    m_d->settle();
    return reinterpret_cast<std::uint32_t*>(m_d->image.scanLine(y));
}

const std::uint32_t* DeviceContext::constScanLine(int y) const {
    if (y < 0 || y >= m_d->image.height())
        return nullptr;
    m_d->settle();
    return reinterpret_cast<const std::uint32_t*>(m_d->image.constScanLine(y));
}

const Font* DeviceContext::selectFont(const Font* font) {
    const Font* previous = m_d->font;
    m_d->font = font;
    return previous;
}

const Font* DeviceContext::font() const {
    return m_d->font;
}

ColorRef DeviceContext::setTextColor(ColorRef color) {
    return std::exchange(m_d->textColor, color);
}
ColorRef DeviceContext::textColor() const {
    return m_d->textColor;
}
StretchMode DeviceContext::setStretchMode(StretchMode mode) {
    return std::exchange(m_d->stretch, mode);
}

void DeviceContext::setPen(ColorRef color, int width) {
    m_d->penColor = color;
    m_d->penWidth = std::max(1, width);
}

void DeviceContext::pushClip(const Rect& rect) {
    const Rect narrowed = m_d->clips.empty() ? rect : m_d->clips.back().intersected(rect);
    m_d->clips.push_back(narrowed.isEmpty() ? Rect{} : narrowed);
    m_d->applyClip();
}

void DeviceContext::popClip() {
    if (m_d->clips.empty())
        return;
    m_d->clips.pop_back();
    m_d->applyClip();
}

Rect DeviceContext::clipBox() const {
    return m_d->clip();
}

void DeviceContext::bitBlt(int x, int y, int w, int h, const DeviceContext& src, int sx, int sy) {
    if (w <= 0 || h <= 0 || !m_d->drawable() || src.isNull())
        return;
    if (&src == this) {
        // Overlapping copies within one surface go through a copy of the source piece.
        m_d->put(x, y, Data::piece(*src.m_d, sx, sy, w, h, w, h, false), QPainter::CompositionMode_Source);
        return;
    }
    // The common case (atlas pieces, holder surfaces, the back buffer) copies straight from the source.
    const Rect wanted = Rect::fromXywh(sx, sy, w, h);
    const Rect have = wanted.intersected(src.m_d->bounds());
    if (have.isEmpty())
        return;
    src.m_d->settle();
    QPainter& p = m_d->paint();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QPoint(x + have.left - sx, y + have.top - sy), src.m_d->image, ToQRect(have));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void DeviceContext::stretchBlt(int x, int y, int w, int h, const DeviceContext& src, int sx, int sy, int sw,
                               int sh) {
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0 || !m_d->drawable() || src.isNull())
        return;
    const bool smooth = m_d->stretch == StretchMode::Halftone;
    m_d->put(x, y, Data::piece(*src.m_d, sx, sy, sw, sh, w, h, smooth), QPainter::CompositionMode_Source);
}

void DeviceContext::transparentBlt(int x, int y, int w, int h, const DeviceContext& src, int sx, int sy,
                                   int sw, int sh, ColorRef key) {
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0 || !m_d->drawable() || src.isNull())
        return;
    QImage part = Data::piece(*src.m_d, sx, sy, sw, sh, w, h, false);
    const std::uint32_t keyArgb = PremultipliedArgb(key, 255);
    for (int row = 0; row < part.height(); ++row) {
        auto* line = reinterpret_cast<std::uint32_t*>(part.scanLine(row));
        for (int col = 0; col < part.width(); ++col)
            if (line[col] == keyArgb)
                line[col] = 0;
    }
    m_d->put(x, y, part, QPainter::CompositionMode_SourceOver);
}

void DeviceContext::alphaBlend(int x, int y, int w, int h, const DeviceContext& src, int sx, int sy, int sw,
                               int sh, int constantAlpha, bool perPixelAlpha) {
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0 || !m_d->drawable() || src.isNull())
        return;
    QImage part = Data::piece(*src.m_d, sx, sy, sw, sh, w, h, m_d->stretch == StretchMode::Halftone);
    if (!perPixelAlpha) {
        // Without per-pixel alpha the source's colour bytes count as they are, fully opaque.
        for (int row = 0; row < part.height(); ++row) {
            auto* line = reinterpret_cast<std::uint32_t*>(part.scanLine(row));
            for (int col = 0; col < part.width(); ++col)
                line[col] |= 0xFF000000u;
        }
    }
    m_d->put(x, y, part, QPainter::CompositionMode_SourceOver, std::clamp(constantAlpha, 0, 255) / 255.0);
}

void DeviceContext::fillSolidRect(const Rect& rect, ColorRef color) {
    if (rect.isEmpty() || !m_d->drawable())
        return;
    QPainter& p = m_d->paint();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(ToQRect(rect), ToQColor(color));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void DeviceContext::frameRect(const Rect& r, ColorRef color) {
    if (r.isEmpty())
        return;
    fillSolidRect(Rect{r.left, r.top, r.right, r.top + 1}, color);
    fillSolidRect(Rect{r.left, r.bottom - 1, r.right, r.bottom}, color);
    fillSolidRect(Rect{r.left, r.top + 1, r.left + 1, r.bottom - 1}, color);
    fillSolidRect(Rect{r.right - 1, r.top + 1, r.right, r.bottom - 1}, color);
}

void DeviceContext::moveTo(int x, int y) {
    m_d->current = Point{x, y};
}

void DeviceContext::lineTo(int x, int y) {
    const Point from = m_d->current;
    m_d->current = Point{x, y};
    if (!m_d->drawable() || from == m_d->current)
        return;
    if (m_d->penWidth > 1) {
        QPainter& p = m_d->paint();
        p.setPen(QPen(ToQColor(m_d->penColor), m_d->penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(from.x, from.y, x, y);
        return;
    }
    // One-pixel pen: every pixel from the start up to, not including, the end point.
    if (from.y == y) {
        fillSolidRect(Rect{x < from.x ? x + 1 : from.x, y, x < from.x ? from.x + 1 : x, y + 1},
                      m_d->penColor);
        return;
    }
    if (from.x == x) {
        fillSolidRect(Rect{x, y < from.y ? y + 1 : from.y, x + 1, y < from.y ? from.y + 1 : y},
                      m_d->penColor);
        return;
    }
    m_d->settle();
    const Rect clip = m_d->clip();
    const std::uint32_t argb = PremultipliedArgb(m_d->penColor, 255);
    int cx = from.x, cy = from.y;
    const int dx = std::abs(x - cx), dy = -std::abs(y - cy);
    const int stepX = cx < x ? 1 : -1, stepY = cy < y ? 1 : -1;
    int err = dx + dy;
    while (cx != x || cy != y) {
        if (clip.contains(cx, cy))
            m_d->writePixel(cx, cy, argb);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            cx += stepX;
        }
        if (e2 <= dx) {
            err += dx;
            cy += stepY;
        }
    }
}

void DeviceContext::polyline(const Point* points, int count) {
    if (count < 2 || !points)
        return;
    if (m_d->penWidth == 1) {
        moveTo(points[0].x, points[0].y);
        for (int i = 1; i < count; ++i)
            lineTo(points[i].x, points[i].y);
        return;
    }
    if (!m_d->drawable())
        return;
    QPolygon polygon;
    for (int i = 0; i < count; ++i)
        polygon << QPoint(points[i].x, points[i].y);
    QPainter& p = m_d->paint();
    p.setPen(QPen(ToQColor(m_d->penColor), m_d->penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(polygon);
    m_d->current = points[count - 1];
}

namespace {

long long FloorDiv(long long n, long long d) {
    const long long q = n / d;
    return (n % d != 0 && (n < 0) != (d < 0)) ? q - 1 : q;
}

long long CeilDiv(long long n, long long d) {
    const long long q = n / d;
    return (n % d != 0 && (n < 0) == (d < 0)) ? q + 1 : q;
}

// One edge p -> q of a triangle, as a function of the pixel column on one row: its value at the pixel centre
// (doubled coordinates) is at(x) = c - 2 * b * x, exact in integers.
struct TriangleEdge {
    long long b = 0; // twice the edge's height
    long long c = 0;
    bool topOrLeft = false;

    TriangleEdge(const GradientVertex& p, const GradientVertex& q, long long py, int sign)
        : b(2LL * q.y - 2LL * p.y), c((2LL * q.x - 2LL * p.x) * (py - 2LL * p.y) - b * (1 - 2LL * p.x)) {
        const int ex = (q.x - p.x) * sign, ey = (q.y - p.y) * sign;
        topOrLeft = (ey == 0 && ex < 0) || ey > 0;
    }
    long long at(long long x) const { return c - 2 * b * x; }
    // Narrows [first, last] to the columns whose centres the edge owns: inside it, or on it when it is a top
    // or left edge for this winding, so triangles sharing an edge never share a pixel.
    void narrow(int sign, long long& first, long long& last) const {
        const long long need = topOrLeft ? 0 : 1; // sign * at(x) >= need
        const long long slope = -2 * b * sign, start = c * sign;
        if (slope == 0) {
            if (start < need)
                last = first - 1;
        } else if (slope > 0) {
            first = std::max(first, CeilDiv(need - start, slope));
        } else {
            last = std::min(last, FloorDiv(start - need, -slope));
        }
    }
};

// The weights of a pixel: the three edge values over their sum (four times the signed area).
struct Weights {
    double a, b, c;
};

// A colour channel along one run of a row, in exact integers: the value is n / total with
// n = wa * ca + wb * cb + wc * cc, rounded half up to `value`, and `rest` = 2n + total - 2 * total * value
// (0 <= rest < 2 * total) says where the exact value lies between two roundings. Only at rest == 0, a value
// exactly half way, may the floating-point weights round the other way; such pixels take them.
struct ChannelStep {
    long long value = 0;
    long long rest = 0;
    long long step = 0; // of rest, per pixel

    ChannelStep(long long n, long long slope, long long total)
        : value(FloorDiv(2 * n + total, 2 * total)), rest(2 * n + total - 2 * total * value),
          step(2 * slope) {}
    // How many pixels from the current one keep the value (at most limit).
    long long sameFor(long long total, long long limit) const {
        if (step > 0)
            return std::min(limit, CeilDiv(2 * total - rest, step));
        if (step < 0)
            return std::min(limit, rest / -step + 1);
        return limit;
    }
    // The first of the next count pixels that lies exactly half way, or count.
    long long halfWayWithin(long long count) const {
        if (rest == 0)
            return 0;
        if (step < 0 && rest % -step == 0)
            return std::min(count, rest / -step);
        return count;
    }
    void advance(long long count, long long total) {
        rest += count * step;
        const long long wraps = FloorDiv(rest, 2 * total);
        value += wraps;
        rest -= wraps * 2 * total;
    }
    int channel() const { return static_cast<int>(std::clamp<long long>(value, 0, 255)); }
};

// clamp(lround(v), 0, 255); for v > 0 the fraction v - trunc(v) is exact.
int RoundToChannel(double v) {
    if (!(v > 0.0))
        return 0;
    if (v >= 255.0)
        return 255;
    const int whole = static_cast<int>(v);
    return whole + (v - whole >= 0.5 ? 1 : 0);
}

int ExactChannel(const ChannelStep& channel, const Weights& w, int ca, int cb, int cc) {
    return channel.rest == 0 ? RoundToChannel(w.a * ca + w.b * cb + w.c * cc) : channel.channel();
}

} // namespace

void DeviceContext::gradientFillTriangle(const GradientVertex& a, const GradientVertex& b,
                                         const GradientVertex& c) {
    if (!m_d->drawable())
        return;
    // Twice the signed area; a flat triangle covers nothing.
    const long long area =
        static_cast<long long>(b.x - a.x) * (c.y - a.y) - static_cast<long long>(b.y - a.y) * (c.x - a.x);
    if (area == 0)
        return;
    const Rect box = Rect{std::min({a.x, b.x, c.x}), std::min({a.y, b.y, c.y}), std::max({a.x, b.x, c.x}),
                          std::max({a.y, b.y, c.y})}
                         .intersected(m_d->clip());
    if (box.isEmpty())
        return;
    m_d->settle();
    // Pixel centres sampled at (x + 0.5, y + 0.5), in doubled coordinates to stay integral. Each row's pixels
    // form one run between the edges, found from the edge values. The colour of a pixel is the rounded mix of
    // the corners' colours by the pixel's weights; along a run it is stepped in integers, which round the
    // same as the floating-point weights everywhere but exactly half way between two values.
    const int sign = area > 0 ? 1 : -1;
    const double total = static_cast<double>(area) * 4.0;
    // Sums of weights times channels stay well inside 64 bits; a triangle too large for that (no window is)
    // takes the floating-point weights throughout.
    const bool stepped = std::abs(area) < (1LL << 36);
    const long long exactTotal = 4 * area * sign;
    const int ar = RedOf(a.color), ag = GreenOf(a.color), ab = BlueOf(a.color);
    const int br = RedOf(b.color), bg = GreenOf(b.color), bb = BlueOf(b.color);
    const int cr = RedOf(c.color), cg = GreenOf(c.color), cb = BlueOf(c.color);
    for (int y = box.top; y < box.bottom; ++y) {
        const long long py = 2LL * y + 1;
        const TriangleEdge ea(b, c, py, sign), eb(c, a, py, sign), ec(a, b, py, sign);
        long long first = box.left, last = box.right - 1;
        ea.narrow(sign, first, last);
        eb.narrow(sign, first, last);
        ec.narrow(sign, first, last);
        if (first > last)
            continue;
        std::uint32_t* row = reinterpret_cast<std::uint32_t*>(m_d->image.scanLine(y));
        const auto weights = [&](long long x) {
            return Weights{ea.at(x) / total, eb.at(x) / total, ec.at(x) / total};
        };
        if (!stepped) {
            for (long long x = first; x <= last; ++x) {
                const Weights w = weights(x);
                row[x] = PremultipliedArgb(Rgb(RoundToChannel(w.a * ar + w.b * br + w.c * cr),
                                               RoundToChannel(w.a * ag + w.b * bg + w.c * cg),
                                               RoundToChannel(w.a * ab + w.b * bb + w.c * cb)),
                                           255);
            }
            continue;
        }
        const long long wa = ea.at(first) * sign, wb = eb.at(first) * sign, wc = ec.at(first) * sign;
        const long long da = -2 * ea.b * sign, db = -2 * eb.b * sign, dc = -2 * ec.b * sign;
        const auto channel = [&](int ca, int cb, int cc) {
            return ChannelStep(wa * ca + wb * cb + wc * cc, da * ca + db * cb + dc * cc, exactTotal);
        };
        ChannelStep red = channel(ar, br, cr), green = channel(ag, bg, cg), blue = channel(ab, bb, cb);
        // Runs of one colour are filled at once; a pixel half way in a channel is mixed on its own.
        for (long long x = first; x <= last;) {
            long long count = last - x + 1;
            for (const ChannelStep* step : {&red, &green, &blue})
                count = step->halfWayWithin(step->sameFor(exactTotal, count));
            if (count == 0) {
                const Weights w = weights(x);
                row[x] = PremultipliedArgb(Rgb(ExactChannel(red, w, ar, br, cr),
                                               ExactChannel(green, w, ag, bg, cg),
                                               ExactChannel(blue, w, ab, bb, cb)),
                                           255);
                count = 1;
            } else {
                std::fill(row + x, row + x + count,
                          PremultipliedArgb(Rgb(red.channel(), green.channel(), blue.channel()), 255));
            }
            x += count;
            for (ChannelStep* step : {&red, &green, &blue})
                step->advance(count, exactTotal);
        }
    }
}

namespace {

// Width of a line whose tabs stop at multiples of tabWidth (0: tabs are not expanded).
int LineWidth(const QFontMetrics& fm, const QString& line, int tabWidth) {
    if (tabWidth <= 0 || !line.contains(u'\t'))
        return fm.horizontalAdvance(line);
    int x = 0;
    const QStringList parts = line.split(u'\t');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        x += fm.horizontalAdvance(parts[i]);
        if (i + 1 < parts.size())
            x = (x / tabWidth + 1) * tabWidth;
    }
    return x;
}

// Greedy breaking between words (at spaces and tabs); a word wider than the line stands alone on its line.
QStringList WrapParagraph(const QFontMetrics& fm, const QString& paragraph, int width, int tabWidth) {
    QStringList lines;
    QString line;
    qsizetype i = 0;
    while (i < paragraph.size()) {
        qsizetype end = i;
        while (end < paragraph.size() && paragraph[end] != u' ' && paragraph[end] != u'\t')
            ++end;
        while (end < paragraph.size() && (paragraph[end] == u' ' || paragraph[end] == u'\t'))
            ++end;
        const QString token = paragraph.mid(i, end - i);
        const QString candidate = line + token;
        QString trimmedCandidate = candidate;
        while (!trimmedCandidate.isEmpty() &&
               (trimmedCandidate.back() == u' ' || trimmedCandidate.back() == u'\t'))
            trimmedCandidate.chop(1);
        if (line.isEmpty() || LineWidth(fm, trimmedCandidate, tabWidth) <= width) {
            line = candidate;
        } else {
            while (!line.isEmpty() && (line.back() == u' ' || line.back() == u'\t'))
                line.chop(1);
            lines << line;
            line = token;
        }
        i = end;
    }
    while (!line.isEmpty() && (line.back() == u' ' || line.back() == u'\t'))
        line.chop(1);
    lines << line;
    return lines;
}

// "&x" shows x, "&&" shows "&".
QString StripPrefixes(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        else if (text[i] == u'&')
            continue;
        out += text[i];
    }
    return out;
}

} // namespace

void DeviceContext::textOut(int x, int y, const QString& text) {
    if (text.isEmpty() || !m_d->drawable())
        return;
    const QFont& font = m_d->currentFont().qfont();
    const QFontMetrics fm(font);
    // Only what reaches the clip's right edge is shaped and drawn.
    const int room = std::clamp(m_d->clip().right - x, 0, kMaxLineWidth);
    const QString shown =
        ShownBeginning(text, room, [&fm](const QString& part) { return fm.horizontalAdvance(part); });
    QPainter& p = m_d->paint();
    p.setFont(font);
    p.setPen(ToQColor(m_d->textColor));
    p.drawText(QPoint(x, y + fm.ascent()), shown);
}

int DeviceContext::drawText(const QString& text, Rect& rect, unsigned format) {
    const Font& font = m_d->currentFont();
    const QFontMetrics fm(font.qfont());
    const int lineHeight = fm.height();
    const int tabWidth = (format & kTextExpandTabs) ? 8 * fm.averageCharWidth() : 0;
    const int width = rect.width();
    const bool single = format & kTextSingleLine;
    const bool ellipsis = format & (kTextEndEllipsis | kTextWordEllipsis);
    const bool clip = !(format & kTextNoClip);

    // How far a line can show: an elided line up to the rectangle's width; a line drawn from the left edge
    // up to the clip (and the rectangle when it clips); any other up to the widest line.
    int room = kMaxLineWidth;
    if (ellipsis)
        room = std::max(0, width);
    else if (!(format & (kTextCalcRect | kTextCenter | kTextRight)))
        room = std::clamp((clip ? std::min(rect.right, m_d->clip().right) : m_d->clip().right) - rect.left, 0,
                          kMaxLineWidth);
    const auto prepare = [&](const QString& raw) {
        QString source = (format & kTextNoPrefix) ? raw : StripPrefixes(raw);
        if (!tabWidth)
            source.replace(u'\t', u' ');
        if (single) {
            source.replace(u"\r\n"_s, u" "_s);
            source.replace(u'\r', u' ');
            source.replace(u'\n', u' ');
        } else {
            source.replace(u"\r\n"_s, u"\n"_s);
            source.replace(u'\r', u'\n');
        }
        return source;
    };
    const auto shown = [&](const QString& line) {
        return ShownBeginning(line, room, [&](const QString& part) { return LineWidth(fm, part, tabWidth); });
    };

    QStringList lines;
    if (single) {
        // A single line is prepared only as far as it can show, so a long one is not copied whole either.
        lines << prepare(ShownBeginning(
            text, room, [&](const QString& part) { return LineWidth(fm, prepare(part), tabWidth); }));
    } else {
        for (const QString& paragraph : prepare(text).split(u'\n'))
            if (format & kTextWordBreak)
                for (const QString& line : WrapParagraph(fm, paragraph, width, tabWidth))
                    lines << shown(line);
            else
                lines << shown(paragraph);
    }
    if (ellipsis)
        for (QString& line : lines)
            if (LineWidth(fm, line, tabWidth) > width)
                line = font.elided(line, width);

    int textWidth = 0;
    for (const QString& line : lines)
        textWidth = std::max(textWidth, std::min(LineWidth(fm, line, tabWidth), kMaxLineWidth));
    const int textHeight = static_cast<int>(lines.size()) * lineHeight;

    if (format & kTextCalcRect) {
        rect.right = rect.left + textWidth;
        rect.bottom = rect.top + textHeight;
        return textHeight;
    }

    int y = rect.top;
    if (single && (format & kTextVCenter))
        y = rect.top + (rect.height() - lineHeight) / 2;
    else if (single && (format & kTextBottom))
        y = rect.bottom - lineHeight;
    const int result = y - rect.top + textHeight;
    if (!m_d->drawable() || text.isEmpty())
        return result;

    if (clip)
        pushClip(rect);
    if (m_d->drawable()) {
        QPainter& p = m_d->paint();
        p.setFont(font.qfont());
        const Rect visible = m_d->clip();
        for (const QString& line : lines) {
            if (y >= visible.bottom)
                break;
            if (y + lineHeight <= visible.top) {
                y += lineHeight;
                continue;
            }
            const int lw = LineWidth(fm, line, tabWidth);
            int x = rect.left;
            if (format & kTextCenter)
                x = rect.left + (width - lw) / 2;
            else if (format & kTextRight)
                x = rect.right - lw;
            p.setPen(ToQColor(m_d->textColor));
            if (tabWidth && line.contains(u'\t')) {
                int segmentX = x;
                const QStringList parts = line.split(u'\t');
                for (qsizetype i = 0; i < parts.size(); ++i) {
                    p.drawText(QPoint(segmentX, y + fm.ascent()), parts[i]);
                    segmentX += fm.horizontalAdvance(parts[i]);
                    if (i + 1 < parts.size())
                        segmentX = x + ((segmentX - x) / tabWidth + 1) * tabWidth;
                }
            } else {
                p.drawText(QPoint(x, y + fm.ascent()), line);
            }
            y += lineHeight;
        }
    }
    if (clip)
        popClip();
    return result;
}

Size DeviceContext::getTextExtent(const QString& text) const {
    return m_d->currentFont().textExtent(text);
}

QImage& DeviceContext::image() {
    m_d->settle();
    return m_d->image;
}

const QImage& DeviceContext::image() const {
    m_d->settle();
    return m_d->image;
}

} // namespace plat
