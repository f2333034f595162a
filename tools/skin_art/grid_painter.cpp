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
QImage Header() {
    const QRect bounds = ImageBounds("grid.header");
    return PaintOpaque(bounds.size(), palette::kCanvas, [&bounds](QPainter& p) {
        const QRect r(0, 0, bounds.width(), bounds.height() + 4); // square at the bottom: the grid goes on
        Panel(p, r.adjusted(1, 1, -1, 0), 3, VerticalGradient(1, bounds.height(), kHeaderTop, kHeaderBottom),
              palette::kLine);
    });
}

QPainterPath Funnel() {
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

QImage FilterButton(bool filtering, bool hot) {
    return PaintKeyed(
        {18, 18}, kHeaderUnderButton,
        [=](QPainter& p) {
            if (hot)
                Panel(p, QRect(1, 1, 16, 16), 3, QColor::fromRgb(palette::kAccentWash), palette::kAccentLine);
            const QRgb ink = filtering || hot ? palette::kAccent : palette::kGlyph;
            p.setPen(RoundPen(ink, 1.3));
            p.setBrush(QColor::fromRgb(filtering ? palette::kAccent : palette::kPaper));
            p.drawPath(Funnel());
        });
}

// A percentage bar in one picture: left cap, track, right cap, then the sample of the filled part.
QImage PercentageBar(std::string_view image, const AtlasPiece& fillPiece, QRgb colour) {
    const QRect bounds = ImageBounds(image);
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
QImage CellButton() {
    const QRect bounds = ImageBounds("grid.button");
    QImage out(bounds.size(), QImage::Format_RGB32);
    QPainter p(&out);
    p.fillRect(out.rect(), VerticalGradient(0, bounds.height(), palette::kFaceTop, palette::kFaceBottom));
    const QColor line = QColor::fromRgb(palette::kLine);
    p.fillRect(QRect(0, 0, bounds.width(), 1), line);
    p.fillRect(QRect(0, bounds.height() - 1, bounds.width(), 1), line);
    p.fillRect(QRect(0, 0, 1, bounds.height()), line);
    p.fillRect(QRect(bounds.width() - 1, 0, 1, bounds.height()), line);
    p.fillRect(QRect(1, 1, bounds.width() - 2, 1), QColor::fromRgb(palette::kPaper));
    return out;
}

QImage DoneMark() {
    return PaintKeyed(
        {16, 16}, kRowBackground,
        [](QPainter& p) {
            p.setPen(Qt::NoPen);
            p.setBrush(VerticalGradient(1, 15, palette::kAccentBright, palette::kAccent));
            p.drawEllipse(QPointF(8, 8), 7, 7);
            DrawTick(p, QRectF(4, 4, 8, 8), 1.8, palette::kPaper);
        });
}

QImage EngineMarker(QRgb colour) {
    return PaintKeyed(
        {16, 15}, kRowBackground,
        [colour](QPainter& p) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor::fromRgb(colour));
            p.drawEllipse(QPointF(8, 7.5), 7, 7);
            DrawMagnifier(p, QPointF(7, 6.5), 2.6, 1.4, palette::kPaper);
        });
}

} // namespace

void PaintGrid(QImage& atlas) {
    Place(atlas, ImageBounds("grid.header").topLeft(), Header());

    Place(atlas, PieceByName("grid.filterOff.normal"), FilterButton(false, false));
    Place(atlas, PieceByName("grid.filterOff.hot"), FilterButton(false, true));
    Place(atlas, PieceByName("grid.filterOn.normal"), FilterButton(true, false));
    Place(atlas, PieceByName("grid.filterOn.hot"), FilterButton(true, true));

    Place(atlas, ImageBounds("grid.barA").topLeft(),
          PercentageBar("grid.barA", PieceByName("grid.barA.fill"), palette::kAccent));
    Place(atlas, ImageBounds("grid.barB").topLeft(),
          PercentageBar("grid.barB", PieceByName("grid.barB.fill"), palette::kSecondData));

    Place(atlas, ImageBounds("grid.button").topLeft(), CellButton());
    Place(atlas, PieceByName("grid.buttonIcon"), PaintKeyed({16, 16}, palette::kFace, [](QPainter& p) {
              DrawMagnifier(p, QPointF(6.5, 6.5), 3.8, 1.7, palette::kAccent);
          }));
    Place(atlas, PieceByName("grid.cellIcon"), DoneMark());
    Place(atlas, PieceByName("grid.engine1"), EngineMarker(palette::kAccent));
    Place(atlas, PieceByName("grid.engine2"), EngineMarker(palette::kSecondData));
    Place(atlas, PieceByName("grid.engine3"), EngineMarker(palette::kThirdData));
}

} // namespace skin_art
