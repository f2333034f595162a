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

QImage arrowTile(int degrees) {
    return paintOpaque({kTile, kTile}, palette::kScrollTrack,
                       [degrees](QPainter& p) { drawChevron(p, QPointF(7, 7), 8, degrees, 1.7, kArrow); });
}

// The thumb: a pill 10 px across, 2 px clear of the track's sides. `pill` is its rectangle in the tile's
// coordinates, which may reach beyond the tile so that only a cap or only the body shows.
void thumb(QPainter& p, const QRectF& pill) {
    p.setPen(hairPen(kThumbLine));
    p.setBrush(QColor::fromRgb(kThumbFill));
    p.drawRoundedRect(pill.adjusted(0.5, 0.5, -0.5, -0.5), 4.5, 4.5);
}

// Three short grip lines across the thumb, at tile rows (or columns) 4, 7 and 10.
void grip(QPainter& p, bool vertical) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(kGrip));
    for (int at : {4, 7, 10}) {
        p.drawRect(vertical ? QRect(5, at, 4, 1) : QRect(at, 5, 1, 4));
    }
}

QImage verticalThumbTile(qreal pillTop, qreal pillHeight, bool withGrip) {
    return paintOpaque({kTile, kTile}, palette::kScrollTrack, [=](QPainter& p) {
        thumb(p, QRectF(2, pillTop, 10, pillHeight));
        if (withGrip) {
            grip(p, true);
        }
    });
}

} // namespace

void paintScrollbars(QImage& atlas) {
    place(atlas, atlasPiece("vscroll.up"), arrowTile(-90));
    place(atlas, atlasPiece("vscroll.down"), arrowTile(90));
    place(atlas, atlasPiece("hscroll.left"), arrowTile(180));
    place(atlas, atlasPiece("hscroll.right"), arrowTile(0));

    place(atlas, atlasPiece("vscroll.thumbStart"), verticalThumbTile(2, 40, false));
    place(atlas, atlasPiece("vscroll.thumbMiddle"), verticalThumbTile(-20, 60, false));
    place(atlas, atlasPiece("vscroll.grip"), verticalThumbTile(-20, 60, true));
    place(atlas, atlasPiece("vscroll.thumbEnd"), verticalThumbTile(-28, 40, false));

    // The horizontal thumb is one picture: caps at its ends, a plain body, the grip's lines in the columns
    // that only the grip piece takes.
    const QRect bounds = imageBounds("hscroll.thumb");
    const AtlasPiece& gripPiece = atlasPiece("hscroll.grip");
    place(atlas, bounds.topLeft(), paintOpaque(bounds.size(), palette::kScrollTrack, [&](QPainter& p) {
              thumb(p, QRectF(2, 2, bounds.width() - 4, 10));
              p.translate(gripPiece.x - bounds.x(), 0);
              grip(p, false);
          }));

    // A container's auto-scroll arrows sit on the push-button face.
    const auto holderArrow = [&atlas](const AtlasPiece& piece, int degrees) {
        place(atlas, piece, paintKeyed({piece.width, piece.height}, palette::kFace, [degrees](QPainter& p) {
                  drawChevron(p, QPointF(11, 9), 10, degrees, 2.2, palette::kAccent);
              }));
    };
    holderArrow(atlasPiece("holder.arrowUp"), -90);
    holderArrow(atlasPiece("holder.arrowDown"), 90);
}

} // namespace skin_art
