#include "tools/skin_art/pictograms.h"

#include "tools/skin_art/paint_kit.h"
#include "tools/skin_art/palette.h"

#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace skin_art {

namespace {

void StrokeAndFill(QPainter& p, const QPainterPath& path, QRgb stroke, QRgb fill, qreal width) {
    p.setPen(RoundPen(stroke, width));
    p.setBrush(QColor::fromRgb(fill));
    p.drawPath(path);
}

void NewDocument(QPainter& p, QRgb stroke, QRgb fill) {
    QPainterPath page;
    page.moveTo(3.5, 2);
    page.lineTo(12.5, 2);
    page.lineTo(17.5, 7);
    page.lineTo(17.5, 22);
    page.lineTo(3.5, 22);
    page.closeSubpath();
    StrokeAndFill(p, page, stroke, fill, 2);
    QPainterPath fold;
    fold.moveTo(12.5, 2);
    fold.lineTo(12.5, 7);
    fold.lineTo(17.5, 7);
    p.setBrush(Qt::NoBrush);
    p.drawPath(fold);
    // A plus badge: this makes a new one.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(stroke));
    p.drawEllipse(QPointF(18.5, 18.5), 5.5, 5.5);
    p.setPen(RoundPen(fill, 1.8));
    p.drawLine(QPointF(18.5, 15.7), QPointF(18.5, 21.3));
    p.drawLine(QPointF(15.7, 18.5), QPointF(21.3, 18.5));
}

void Folder(QPainter& p, QRgb stroke, QRgb fill) {
    QPainterPath back;
    back.moveTo(2, 20);
    back.lineTo(2, 4);
    back.lineTo(9, 4);
    back.lineTo(11.5, 6.5);
    back.lineTo(19, 6.5);
    back.lineTo(19, 10);
    StrokeAndFill(p, back, stroke, fill, 2);
    QPainterPath flap;
    flap.moveTo(2, 20);
    flap.lineTo(5.5, 10);
    flap.lineTo(23, 10);
    flap.lineTo(19.5, 20);
    flap.closeSubpath();
    StrokeAndFill(p, flap, stroke, fill, 2);
}

void Disk(QPainter& p, QRgb stroke, QRgb fill) {
    QPainterPath body;
    body.moveTo(3, 3);
    body.lineTo(17.5, 3);
    body.lineTo(21, 6.5);
    body.lineTo(21, 21);
    body.lineTo(3, 21);
    body.closeSubpath();
    StrokeAndFill(p, body, stroke, fill, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(stroke));
    p.drawRect(QRectF(7, 3, 9, 6));
    p.setBrush(QColor::fromRgb(fill));
    p.drawRect(QRectF(12.5, 4.5, 2, 3));
    p.setPen(RoundPen(stroke, 2));
    p.drawRoundedRect(QRectF(7, 13, 10, 8), 1, 1);
}

void PauseBars(QPainter& p, QRgb stroke) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(stroke));
    p.drawRoundedRect(QRectF(5.5, 4, 4.5, 16), 1.5, 1.5);
    p.drawRoundedRect(QRectF(14, 4, 4.5, 16), 1.5, 1.5);
}

void PlayTriangle(QPainter& p, QRgb stroke) {
    QPainterPath triangle;
    triangle.moveTo(7.5, 4.5);
    triangle.lineTo(19, 12);
    triangle.lineTo(7.5, 19.5);
    triangle.closeSubpath();
    StrokeAndFill(p, triangle, stroke, stroke, 2.5);
}

void ExportArrow(QPainter& p, QRgb stroke, QRgb fill) {
    QPainterPath tray;
    tray.moveTo(3, 12);
    tray.lineTo(3, 21);
    tray.lineTo(21, 21);
    tray.lineTo(21, 12);
    p.setPen(RoundPen(stroke, 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tray);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(fill));
    p.drawRect(QRectF(4, 13, 16, 7));
    p.setPen(RoundPen(stroke, 2));
    p.drawLine(QPointF(12, 16), QPointF(12, 3));
    p.drawLine(QPointF(7.5, 7.5), QPointF(12, 3));
    p.drawLine(QPointF(16.5, 7.5), QPointF(12, 3));
}

void HelpMark(QPainter& p, QRgb stroke, QRgb fill) {
    p.setPen(RoundPen(stroke, 2));
    p.setBrush(QColor::fromRgb(fill));
    p.drawEllipse(QPointF(12, 12), 10, 10);
    QPainterPath hook;
    const QRectF arc(12 - 3.4, 9.2 - 3.4, 6.8, 6.8);
    hook.arcMoveTo(arc, 165);
    hook.arcTo(arc, 165, -225);
    hook.lineTo(12, 13.2);
    hook.lineTo(12, 14.4);
    p.setPen(RoundPen(stroke, 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(stroke));
    p.drawEllipse(QPointF(12, 17.6), 1.4, 1.4);
}

} // namespace

void DrawToolbarPictogram(QPainter& p, ToolbarIcon icon, QPointF origin, QRgb stroke, QRgb fill) {
    p.save();
    p.translate(origin);
    switch (icon) {
    case ToolbarIcon::New:
        NewDocument(p, stroke, fill);
        break;
    case ToolbarIcon::Open:
        Folder(p, stroke, fill);
        break;
    case ToolbarIcon::Save:
        Disk(p, stroke, fill);
        break;
    case ToolbarIcon::Pause:
        PauseBars(p, stroke);
        break;
    case ToolbarIcon::Resume:
        PlayTriangle(p, stroke);
        break;
    case ToolbarIcon::Export:
        ExportArrow(p, stroke, fill);
        break;
    case ToolbarIcon::Options:
        DrawGear(p, QPointF(12, 12), 10.5, stroke, fill);
        break;
    case ToolbarIcon::Help:
        HelpMark(p, stroke, fill);
        break;
    }
    p.restore();
}

void DrawMagnifier(QPainter& p, QPointF lensCentre, qreal radius, qreal stroke, QRgb colour) {
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(RoundPen(colour, stroke));
    p.drawEllipse(lensCentre, radius, radius);
    const qreal d = (radius + stroke * 0.5) / std::numbers::sqrt2;
    const QPointF from = lensCentre + QPointF(d, d);
    const QPointF to = from + QPointF(radius * 0.85, radius * 0.85);
    p.setPen(RoundPen(colour, stroke * 1.35));
    p.drawLine(from, to);
    p.restore();
}

void DrawGear(QPainter& p, QPointF centre, qreal outerRadius, QRgb colour, QRgb hole) {
    constexpr int kTeeth = 8;
    const qreal inner = outerRadius * 0.74;
    QPolygonF outline;
    for (int i = 0; i < kTeeth; ++i) {
        const qreal base = 2 * std::numbers::pi * i / kTeeth;
        const qreal half = std::numbers::pi / kTeeth;
        // Each tooth: a flat top over a third of its pitch, flanks down to the rim.
        const qreal angles[] = {base - half * 0.95, base - half * 0.45, base + half * 0.45,
                                base + half * 0.95};
        const qreal radii[] = {inner, outerRadius, outerRadius, inner};
        for (int k = 0; k < 4; ++k)
            outline << centre + QPointF(std::cos(angles[k]) * radii[k], std::sin(angles[k]) * radii[k]);
    }
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(colour));
    p.drawPolygon(outline);
    p.setBrush(QColor::fromRgb(hole));
    p.drawEllipse(centre, outerRadius * 0.34, outerRadius * 0.34);
    p.restore();
}

void DrawChevron(QPainter& p, QPointF centre, qreal size, int degrees, qreal stroke, QRgb colour) {
    p.save();
    p.translate(centre);
    p.rotate(degrees);
    p.setPen(RoundPen(colour, stroke));
    p.setBrush(Qt::NoBrush);
    const qreal h = size / 2;
    QPainterPath arrow;
    arrow.moveTo(-h / 2, -h);
    arrow.lineTo(h / 2, 0);
    arrow.lineTo(-h / 2, h);
    p.drawPath(arrow);
    p.restore();
}

void DrawTick(QPainter& p, const QRectF& box, qreal stroke, QRgb colour) {
    p.save();
    p.setPen(RoundPen(colour, stroke));
    p.setBrush(Qt::NoBrush);
    const auto at = [&box](qreal fx, qreal fy) {
        return QPointF(box.left() + box.width() * fx, box.top() + box.height() * fy);
    };
    QPainterPath tick;
    tick.moveTo(at(0.12, 0.52));
    tick.lineTo(at(0.40, 0.80));
    tick.lineTo(at(0.88, 0.22));
    p.drawPath(tick);
    p.restore();
}

void DrawEmblem(QPainter& p, const QRectF& box, bool detail) {
    const qreal s = box.width();
    p.save();
    p.setPen(Qt::NoPen);
    QLinearGradient shade(box.topLeft(), box.bottomLeft());
    shade.setColorAt(0, QColor::fromRgb(palette::kAccentBright));
    shade.setColorAt(1, QColor::fromRgb(palette::kAccentDark));
    p.setBrush(shade);
    p.drawRoundedRect(box, s * 0.22, s * 0.22);
    const QPointF lens = box.topLeft() + QPointF(s * 0.44, s * 0.43);
    const qreal radius = s * 0.21;
    if (detail) {
        // Rising bars seen through the lens: measuring what people search for.
        p.setBrush(QColor(255, 255, 255, 150));
        const qreal w = radius * 0.34;
        const qreal base = lens.y() + radius * 0.5;
        for (int i = 0; i < 3; ++i) {
            const qreal h = radius * (0.45 + 0.3 * i);
            p.drawRect(QRectF(lens.x() - radius * 0.62 + i * w * 1.35, base - h, w, h));
        }
    }
    DrawMagnifier(p, lens, radius, std::max(1.6, s * 0.08), palette::kPaper);
    p.restore();
}

} // namespace skin_art
