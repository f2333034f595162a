#include "tools/skin_art/atlas_sections.h"
#include "tools/skin_art/paint_kit.h"
#include "tools/skin_art/palette.h"
#include "tools/skin_art/pictograms.h"

#include <QPainterPath>

namespace skin_art {

namespace {

constexpr QRgb kHeaderTop = qRgb(252, 254, 255);
constexpr QRgb kHeaderBottom = qRgb(229, 239, 247);
// Behind a filter button: the header's shade where the button sits.
constexpr QRgb kHeaderUnderButton = qRgb(236, 244, 250);
// Behind a cell icon: the grid's row background.
constexpr QRgb kRowBackground = qRgb(242, 249, 229);

// The header meets the grid's frame: the same rounded outline one pixel in at the top and the sides.
QImage header() {
    const QRect bounds = imageBounds("grid.header");
    return paintOpaque(bounds.size(), palette::kCanvas, [&bounds](QPainter& p) {
        const QRect r(0, 0, bounds.width(), bounds.height() + 4); // square at the bottom: the grid goes on
        panel(p, r.adjusted(1, 1, -1, 0), 3, verticalGradient(1, bounds.height(), kHeaderTop, kHeaderBottom),
              palette::kLine);
    });
}

QPainterPath funnel() {
    QPainterPath path;
    path.moveTo(3.5, 4.5);
    path.lineTo(14.5, 4.5);
    path.lineTo(10.5, 9.5);
    path.lineTo(10.5, 14);
    path.lineTo(7.5, 12.5);
    path.lineTo(7.5, 9.5);
    path.closeSubpath();
    return path;
}

QImage filterButton(bool filtering, bool hot) {
    return paintKeyed({18, 18}, kHeaderUnderButton, [=](QPainter& p) {
        if (hot) {
            panel(p, QRect(1, 1, 16, 16), 3, QColor::fromRgb(palette::kAccentWash), palette::kAccentLine);
        }
        const QRgb ink = filtering || hot ? palette::kAccent : palette::kGlyph;
        p.setPen(roundPen(ink, 1.3));
        p.setBrush(QColor::fromRgb(filtering ? palette::kAccent : palette::kPaper));
        p.drawPath(funnel());
    });
}

// A percentage bar in one picture: left cap, track, right cap, then the sample of the filled part.
QImage percentageBar(std::string_view image, const AtlasPiece& fillPiece, QRgb colour) {
    const QRect bounds = imageBounds(image);
    QImage out(bounds.size(), QImage::Format_RGB32);
    out.fill(palette::kPaper);
    QPainter p(&out);
    const int fillX = fillPiece.x - bounds.x();
    const int bottom = bounds.height() - 1;
    const QColor line = QColor::fromRgb(palette::kLine);
    p.fillRect(QRect(0, 0, fillX, 1), line);
    p.fillRect(QRect(0, bottom, fillX, 1), line);
    p.fillRect(QRect(0, 0, 1, bounds.height()), line);
    p.fillRect(QRect(fillX - 2, 0, 1, bounds.height()), line); // the right cap's outer column
    p.fillRect(QRect(fillX, 0, fillPiece.width, 1), line);
    p.fillRect(QRect(fillX, bottom, fillPiece.width, 1), line);
    const QColor light = QColor::fromRgb(colour).lighter(135);
    QLinearGradient shade(0, 1, 0, bottom);
    shade.setColorAt(0, light);
    shade.setColorAt(1, QColor::fromRgb(colour));
    p.fillRect(QRect(fillX, 1, fillPiece.width, bottom - 1), shade);
    return out;
}

// The face of a button drawn inside a report cell: square, to line up with the cell's edges.
QImage cellButton() {
    const QRect bounds = imageBounds("grid.button");
    QImage out(bounds.size(), QImage::Format_RGB32);
    QPainter p(&out);
    p.fillRect(out.rect(), verticalGradient(0, bounds.height(), palette::kFaceTop, palette::kFaceBottom));
    const QColor line = QColor::fromRgb(palette::kLine);
    p.fillRect(QRect(0, 0, bounds.width(), 1), line);
    p.fillRect(QRect(0, bounds.height() - 1, bounds.width(), 1), line);
    p.fillRect(QRect(0, 0, 1, bounds.height()), line);
    p.fillRect(QRect(bounds.width() - 1, 0, 1, bounds.height()), line);
    p.fillRect(QRect(1, 1, bounds.width() - 2, 1), QColor::fromRgb(palette::kPaper));
    return out;
}

QImage doneMark() {
    return paintKeyed({16, 16}, kRowBackground, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(verticalGradient(1, 15, palette::kAccentBright, palette::kAccent));
        p.drawEllipse(QPointF(8, 8), 7, 7);
        drawTick(p, QRectF(4, 4, 8, 8), 1.8, palette::kPaper);
    });
}

QImage engineMarker(QRgb colour) {
    return paintKeyed({16, 15}, kRowBackground, [colour](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromRgb(colour));
        p.drawEllipse(QPointF(8, 7.5), 7, 7);
        drawMagnifier(p, QPointF(7, 6.5), 2.6, 1.4, palette::kPaper);
    });
}

} // namespace

void paintGrid(QImage& atlas) {
    place(atlas, imageBounds("grid.header").topLeft(), header());

    place(atlas, atlasPiece("grid.filterOff.normal"), filterButton(false, false));
    place(atlas, atlasPiece("grid.filterOff.hot"), filterButton(false, true));
    place(atlas, atlasPiece("grid.filterOn.normal"), filterButton(true, false));
    place(atlas, atlasPiece("grid.filterOn.hot"), filterButton(true, true));

    place(atlas, imageBounds("grid.barA").topLeft(),
          percentageBar("grid.barA", atlasPiece("grid.barA.fill"), palette::kAccent));
    place(atlas, imageBounds("grid.barB").topLeft(),
          percentageBar("grid.barB", atlasPiece("grid.barB.fill"), palette::kSecondData));

    place(atlas, imageBounds("grid.button").topLeft(), cellButton());
    place(atlas, atlasPiece("grid.buttonIcon"), paintKeyed({16, 16}, palette::kFace, [](QPainter& p) {
              drawMagnifier(p, QPointF(6.5, 6.5), 3.8, 1.7, palette::kAccent);
          }));
    place(atlas, atlasPiece("grid.cellIcon"), doneMark());
    place(atlas, atlasPiece("grid.engine1"), engineMarker(palette::kAccent));
    place(atlas, atlasPiece("grid.engine2"), engineMarker(palette::kSecondData));
    place(atlas, atlasPiece("grid.engine3"), engineMarker(palette::kThirdData));
}

} // namespace skin_art
