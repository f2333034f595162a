#include "tools/skin_art/atlas_sections.h"
#include "tools/skin_art/paint_kit.h"
#include "tools/skin_art/palette.h"
#include "tools/skin_art/pictograms.h"

namespace skin_art {

namespace {

enum class Look { Normal, Hot, Pressed, Disabled };

struct FaceColours {
    QRgb top, middle, bottom, border;
};

// Every push button shares these faces, so a state reads the same on every kind of button.
FaceColours FaceColoursOf(Look look) {
    switch (look) {
    case Look::Normal:
        return {palette::kFaceTop, palette::kFace, palette::kFaceBottom, palette::kLine};
    case Look::Hot:
        return {qRgb(251, 253, 255), palette::kAccentWash, qRgb(221, 236, 249), palette::kAccentLine};
    case Look::Pressed:
        return {qRgb(196, 219, 239), palette::kAccentTint, palette::kAccentTint, palette::kAccent};
    case Look::Disabled:
        break;
    }
    return {palette::kDisabledFace, palette::kDisabledFace, palette::kDisabledFace, palette::kDisabledLine};
}

// A rounded face whose shading lives in `band` rows at the top and bottom; the rows between are one colour,
// so the face stretches to any height.
void ButtonFace(QPainter& p, const QRect& r, Look look, int band) {
    const FaceColours c = FaceColoursOf(look);
    QLinearGradient shade(0, r.top(), 0, r.bottom() + 1);
    const qreal h = r.height();
    shade.setColorAt(0, QColor::fromRgb(c.top));
    shade.setColorAt(band / h, QColor::fromRgb(c.middle));
    shade.setColorAt((h - band) / h, QColor::fromRgb(c.middle));
    shade.setColorAt(1, QColor::fromRgb(c.bottom));
    Panel(p, r, 3, shade, c.border);
}

QImage Face(QSize size, Look look, int band) {
    return PaintOpaque(
        size, palette::kCanvas, [=](QPainter& p) { ButtonFace(p, QRect(QPoint(), size), look, band); });
}

void PushButtons(QImage& atlas) {
    const QSize size(48, 29);
    Place(atlas, PieceByName("button.normal"), Face(size, Look::Normal, 9));
    Place(atlas, PieceByName("button.hot"), Face(size, Look::Hot, 9));
    Place(atlas, PieceByName("button.pressed"), Face(size, Look::Pressed, 9));

    Place(atlas, PieceByName("choice.normal"), Face({27, 27}, Look::Normal, 8));
    Place(atlas, PieceByName("choice.hot"), Face({27, 27}, Look::Hot, 8));
    Place(atlas, PieceByName("choice.pressed"), Face({27, 27}, Look::Pressed, 8));

    Place(atlas, PieceByName("wizard.button.normal"), Face({62, 26}, Look::Normal, 8));
    Place(atlas, PieceByName("wizard.button.hot"), Face({62, 26}, Look::Hot, 8));
    Place(atlas, PieceByName("wizard.button.pressed"), Face({62, 26}, Look::Pressed, 8));
}

// The flat style shows only an underline until the pointer comes; the underline stops short of the ends so
// neighbouring buttons stay apart.
void FlatButtons(QImage& atlas) {
    Place(atlas, PieceByName("flat.normal"), PaintOpaque({27, 32}, palette::kCanvas, [](QPainter& p) {
              p.fillRect(QRect(3, 31, 21, 1), QColor::fromRgb(palette::kLineSoft));
          }));
    Place(atlas, PieceByName("flat.hot"), Face({27, 32}, Look::Hot, 9));
}

// The dialog's main button: a face with a round accent badge carrying an arrow in its right end.
QImage StartButton(Look look) {
    const QSize size(94, 35);
    return PaintOpaque(size, palette::kCanvas, [=](QPainter& p) {
        ButtonFace(p, QRect(QPoint(), size), look, 10);
        const QPointF centre(75.5, 17.5);
        QLinearGradient badge(0, 7, 0, 28);
        const QRgb top = look == Look::Pressed ? palette::kAccent : palette::kAccentBright;
        const QRgb bottom = look == Look::Pressed ? palette::kAccentDark : palette::kAccent;
        badge.setColorAt(0, QColor::fromRgb(look == Look::Hot ? qRgb(66, 150, 212) : top));
        badge.setColorAt(1, QColor::fromRgb(bottom));
        p.setPen(Qt::NoPen);
        p.setBrush(badge);
        p.drawEllipse(centre, 10.5, 10.5);
        p.setPen(RoundPen(palette::kPaper, 2));
        p.drawLine(centre + QPointF(-5, 0), centre + QPointF(4.5, 0));
        DrawChevron(p, centre + QPointF(2.5, 0), 9, 0, 2, palette::kPaper);
    });
}

// Project tabs stand on the main frame: rounded top corners, open at the bottom when current.
QImage ProjectTab(Look look, bool current) {
    const QSize size(24, 27);
    return PaintOpaque(size, palette::kCanvas, [=](QPainter& p) {
        const FaceColours c = FaceColoursOf(look);
        const QRect r(0, 0, size.width(), size.height() + 4); // the bottom corners fall below the tab
        if (current) {
            Panel(p, r, 3, QColor::fromRgb(palette::kPaper), palette::kLine);
            // A 3-px accent cap marks the current project.
            p.setClipRect(QRect(0, 0, size.width(), 3));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor::fromRgb(palette::kAccent));
            p.drawRoundedRect(QRectF(r), 3, 3);
            return;
        }
        Panel(p, r.adjusted(0, 2, 0, 0), 3, VerticalGradient(2, size.height(), c.top, c.bottom), c.border);
        p.fillRect(QRect(0, size.height() - 1, size.width(), 1), QColor::fromRgb(palette::kLineSoft));
    });
}

// Preferences page tabs form a list down the left; a tab is open to the right, towards its page, so the
// same picture serves 37- and 30-pixel-wide views.
QImage PrefsTab(bool lit) {
    const QSize size(37, 31);
    return PaintOpaque(size, palette::kCanvas, [=](QPainter& p) {
        const QRect r(0, 0, size.width() + 6, size.height()); // the right corners fall beyond the picture
        if (!lit) {
            Panel(p, r, 3, VerticalGradient(0, size.height(), qRgb(248, 251, 254), qRgb(237, 243, 248)),
                  palette::kLineSoft);
            return;
        }
        Panel(p, r, 3, QColor::fromRgb(palette::kPaper), palette::kLine);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromRgb(palette::kAccent));
        p.drawRoundedRect(QRectF(2, 4, 3, size.height() - 8), 1.5, 1.5);
    });
}

// The toolbar buttons' back: the band's own colour with a faint divider at the right, the same in every
// state; the pictogram rows of the toolbar sprites show the state.
QImage ToolbarBack() {
    const QRect bounds = ImageBounds("toolbar.back");
    QImage out(bounds.size(), QImage::Format_RGB32);
    out.fill(palette::kToolbarBand);
    QPainter p(&out);
    p.fillRect(QRect(79, 12, 1, bounds.height() - 24), QColor(222, 232, 240));
    return out;
}

QImage TabStripArrow(int degrees) {
    return PaintKeyed(
        {18, 22}, palette::kFace,
        [degrees](QPainter& p) { DrawChevron(p, QPointF(9, 11), 11, degrees, 2.2, palette::kAccent); });
}

} // namespace

void PaintButtons(QImage& atlas) {
    PushButtons(atlas);
    FlatButtons(atlas);

    Place(atlas, PieceByName("wizard.start.normal"), StartButton(Look::Normal));
    Place(atlas, PieceByName("wizard.start.hot"), StartButton(Look::Hot));
    Place(atlas, PieceByName("wizard.start.pressed"), StartButton(Look::Pressed));

    Place(atlas, PieceByName("tab.normal"), ProjectTab(Look::Normal, false));
    Place(atlas, PieceByName("tab.hot"), ProjectTab(Look::Hot, false));
    Place(atlas, PieceByName("tab.disabled"), ProjectTab(Look::Disabled, false));
    Place(atlas, PieceByName("tab.pressed"), ProjectTab(Look::Pressed, true));

    Place(atlas, PieceByName("prefs.tab.normal"), PrefsTab(false));
    Place(atlas, PieceByName("prefs.tab.hot"), PrefsTab(true));

    Place(atlas, ImageBounds("toolbar.back").topLeft(), ToolbarBack());

    Place(atlas, PieceByName("tabs.forward"), TabStripArrow(0));
    Place(atlas, PieceByName("tabs.back"), TabStripArrow(180));
}

} // namespace skin_art
