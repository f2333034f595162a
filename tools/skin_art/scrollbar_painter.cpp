#include "tools/skin_art/atlas_sections.h"
#include "tools/skin_art/paint_kit.h"
#include "tools/skin_art/palette.h"
#include "tools/skin_art/pictograms.h"

namespace skin_art {

namespace {

constexpr int kTile = 14;
constexpr QRgb kThumbFill = qRgb(182, 206, 227);
constexpr QRgb kThumbLine = qRgb(138, 172, 203);
constexpr QRgb kGrip = qRgb(112, 150, 186);
constexpr QRgb kArrow = qRgb(72, 112, 150);

QImage ArrowTile(int degrees) {
    return PaintOpaque(
        {kTile, kTile}, palette::kScrollTrack,
        [degrees](QPainter& p) { DrawChevron(p, QPointF(7, 7), 8, degrees, 1.7, kArrow); });
}

// The thumb: a pill 10 px across, 2 px clear of the track's sides. `pill` is its rectangle in the tile's
// coordinates, which may reach beyond the tile so that only a cap or only the body shows.
void Thumb(QPainter& p, const QRectF& pill) {
    p.setPen(HairPen(kThumbLine));
    p.setBrush(QColor::fromRgb(kThumbFill));
    p.drawRoundedRect(pill.adjusted(0.5, 0.5, -0.5, -0.5), 4.5, 4.5);
}

// Three short grip lines across the thumb, at tile rows (or columns) 4, 7 and 10.
void Grip(QPainter& p, bool vertical) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(kGrip));
    for (int at : {4, 7, 10})
        p.drawRect(vertical ? QRect(5, at, 4, 1) : QRect(at, 5, 1, 4));
}

QImage VerticalThumbTile(qreal pillTop, qreal pillHeight, bool withGrip) {
    return PaintOpaque(
        {kTile, kTile}, palette::kScrollTrack,
        [=](QPainter& p) {
            Thumb(p, QRectF(2, pillTop, 10, pillHeight));
            if (withGrip)
                Grip(p, true);
        });
}

} // namespace

void PaintScrollbars(QImage& atlas) {
    Place(atlas, PieceByName("vscroll.up"), ArrowTile(-90));
    Place(atlas, PieceByName("vscroll.down"), ArrowTile(90));
    Place(atlas, PieceByName("hscroll.left"), ArrowTile(180));
    Place(atlas, PieceByName("hscroll.right"), ArrowTile(0));

    Place(atlas, PieceByName("vscroll.thumbStart"), VerticalThumbTile(2, 40, false));
    Place(atlas, PieceByName("vscroll.thumbMiddle"), VerticalThumbTile(-20, 60, false));
    Place(atlas, PieceByName("vscroll.grip"), VerticalThumbTile(-20, 60, true));
    Place(atlas, PieceByName("vscroll.thumbEnd"), VerticalThumbTile(-28, 40, false));

    // The horizontal thumb is one picture: caps at its ends, a plain body, the grip's lines in the columns
    // that only the grip piece takes.
    const QRect bounds = ImageBounds("hscroll.thumb");
    const AtlasPiece& gripPiece = PieceByName("hscroll.grip");
    Place(atlas, bounds.topLeft(), PaintOpaque(bounds.size(), palette::kScrollTrack, [&](QPainter& p) {
              Thumb(p, QRectF(2, 2, bounds.width() - 4, 10));
              p.translate(gripPiece.x - bounds.x(), 0);
              Grip(p, false);
          }));

    // A container's auto-scroll arrows sit on the push-button face.
    const auto holderArrow = [&atlas](const AtlasPiece& piece, int degrees) {
        Place(atlas, piece, PaintKeyed({piece.width, piece.height}, palette::kFace, [degrees](QPainter& p) {
                  DrawChevron(p, QPointF(11, 9), 10, degrees, 2.2, palette::kAccent);
              }));
    };
    holderArrow(PieceByName("holder.arrowUp"), -90);
    holderArrow(PieceByName("holder.arrowDown"), 90);
}

} // namespace skin_art
