#include "tools/skin_art/atlas_sections.h"
#include "tools/skin_art/paint_kit.h"
#include "tools/skin_art/palette.h"
#include "tools/skin_art/pictograms.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainterPath>

namespace skin_art {

namespace {

enum class Message { Stop, Question, Information };

void MessageDisc(QPainter& p, QRgb light, QRgb dark) {
    p.setPen(HairPen(dark));
    p.setBrush(VerticalGradient(2, 41, light, dark));
    p.drawEllipse(QPointF(21.5, 21.5), 19, 19);
}

QImage MessageIcon(Message kind) {
    return PaintKeyed(
        {43, 43}, palette::kCanvas,
        [kind](QPainter& p) {
            const QPointF c(21.5, 21.5);
            switch (kind) {
            case Message::Stop:
                MessageDisc(p, qRgb(224, 104, 96), qRgb(172, 50, 46));
                p.setPen(RoundPen(palette::kPaper, 3.2));
                p.drawLine(c + QPointF(-7, -7), c + QPointF(7, 7));
                p.drawLine(c + QPointF(7, -7), c + QPointF(-7, 7));
                break;
            case Message::Question: {
                MessageDisc(p, palette::kAccentBright, palette::kAccentDark);
                QPainterPath hook;
                const QRectF arc(c.x() - 6, c.y() - 11.5, 12, 12);
                hook.arcMoveTo(arc, 160);
                hook.arcTo(arc, 160, -220);
                hook.lineTo(c.x(), c.y() + 3);
                hook.lineTo(c.x(), c.y() + 4.5);
                p.setPen(RoundPen(palette::kPaper, 3.4));
                p.setBrush(Qt::NoBrush);
                p.drawPath(hook);
                p.setPen(Qt::NoPen);
                p.setBrush(QColor::fromRgb(palette::kPaper));
                p.drawEllipse(c + QPointF(0, 10), 2.2, 2.2);
                break;
            }
            case Message::Information:
                MessageDisc(p, palette::kAccentBright, palette::kAccentDark);
                p.setPen(Qt::NoPen);
                p.setBrush(QColor::fromRgb(palette::kPaper));
                p.drawEllipse(c + QPointF(0, -9), 2.4, 2.4);
                p.drawRoundedRect(QRectF(c.x() - 2.2, c.y() - 3.5, 4.4, 15), 1.5, 1.5);
                break;
            }
        });
}

QImage AboutLogo() {
    return PaintOpaque(
        {95, 95}, palette::kCanvas,
        [](QPainter& p) {
            // A soft shadow under the emblem lifts it off the page.
            p.setPen(Qt::NoPen);
            for (int i = 4; i >= 1; --i) {
                p.setBrush(QColor(0, 60, 110, 10));
                p.drawRoundedRect(QRectF(8 - i * 0.5, 10 + i * 0.5, 79 + i, 79 + i), 18 + i * 0.5,
                                  18 + i * 0.5);
            }
            DrawEmblem(p, QRectF(8, 7, 79, 79), true);
        });
}

QImage Wordmark() {
    return PaintKeyed(
        {215, 31}, palette::kCanvas,
        [](QPainter& p) {
            DrawEmblem(p, QRectF(2, 2, 27, 27), false);
            QFont name(QStringLiteral("Liberation Sans"));
            name.setPixelSize(22);
            name.setBold(true);
            p.setFont(name);
            p.setPen(QColor::fromRgb(palette::kInk));
            const QString product = QStringLiteral("Tarnwick");
            p.drawText(QPointF(37, 23), product);
            const qreal after = 37 + QFontMetricsF(name).horizontalAdvance(product) + 6;
            QFont version = name;
            version.setBold(false);
            p.setFont(version);
            p.setPen(QColor::fromRgb(palette::kAccent));
            p.drawText(QPointF(after, 23), QStringLiteral("2.0"));
        });
}

// Preferences: a card of sliders with a cog wheel in front.
QImage PrefsPicture() {
    return PaintKeyed(
        {82, 70}, palette::kCanvas,
        [](QPainter& p) {
            Panel(p, QRect(6, 6, 54, 50), 5, VerticalGradient(6, 56, palette::kPaper, palette::kAccentWash),
                  palette::kLine);
            const qreal knobs[] = {34, 20, 42};
            for (int i = 0; i < 3; ++i) {
                const qreal y = 18 + i * 13;
                p.setPen(RoundPen(palette::kLine, 3));
                p.drawLine(QPointF(15, y), QPointF(51, y));
                p.setPen(RoundPen(palette::kAccent, 3));
                p.drawLine(QPointF(15, y), QPointF(knobs[i], y));
                p.setPen(HairPen(palette::kAccentDark));
                p.setBrush(QColor::fromRgb(palette::kPaper));
                p.drawEllipse(QPointF(knobs[i], y), 4, 4);
            }
            p.setPen(Qt::NoPen);
            p.setBrush(QColor::fromRgb(palette::kCanvas));
            p.drawEllipse(QPointF(60, 48), 19, 19);
            DrawGear(p, QPointF(60, 48), 17, palette::kAccent, palette::kCanvas);
        });
}

} // namespace

void PaintPictures(QImage& atlas) {
    Place(atlas, PieceByName("message.stop"), MessageIcon(Message::Stop));
    Place(atlas, PieceByName("message.question"), MessageIcon(Message::Question));
    Place(atlas, PieceByName("message.info"), MessageIcon(Message::Information));
    Place(atlas, PieceByName("about.logo"), AboutLogo());
    Place(atlas, PieceByName("logo.wordmark"), Wordmark());
    Place(atlas, PieceByName("prefs.picture"), PrefsPicture());
}

} // namespace skin_art
