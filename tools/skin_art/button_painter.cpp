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
FaceColours faceColours(Look look) {
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
void buttonFace(QPainter& p, const QRect& r, Look look, int band) {
    const FaceColours c = faceColours(look);
    QLinearGradient shade(0, r.top(), 0, r.bottom() + 1);
    const qreal h = r.height();
    shade.setColorAt(0, QColor::fromRgb(c.top));
    shade.setColorAt(band / h, QColor::fromRgb(c.middle));
    shade.setColorAt((h - band) / h, QColor::fromRgb(c.middle));
    shade.setColorAt(1, QColor::fromRgb(c.bottom));
    panel(p, r, 3, shade, c.border);
}

QImage face(QSize size, Look look, int band) {
    return paintOpaque(size, palette::kCanvas,
                       [=](QPainter& p) { buttonFace(p, QRect(QPoint(), size), look, band); });
}

void pushButtons(QImage& atlas) {
    const QSize size(48, 29);
    place(atlas, atlasPiece("button.normal"), face(size, Look::Normal, 9));
    place(atlas, atlasPiece("button.hot"), face(size, Look::Hot, 9));
    place(atlas, atlasPiece("button.pressed"), face(size, Look::Pressed, 9));

    place(atlas, atlasPiece("choice.normal"), face({27, 27}, Look::Normal, 8));
    place(atlas, atlasPiece("choice.hot"), face({27, 27}, Look::Hot, 8));
    place(atlas, atlasPiece("choice.pressed"), face({27, 27}, Look::Pressed, 8));

    place(atlas, atlasPiece("wizard.button.normal"), face({62, 26}, Look::Normal, 8));
    place(atlas, atlasPiece("wizard.button.hot"), face({62, 26}, Look::Hot, 8));
    place(atlas, atlasPiece("wizard.button.pressed"), face({62, 26}, Look::Pressed, 8));
}

// The flat style shows only an underline until the pointer comes; the underline stops short of the ends so
// neighbouring buttons stay apart.
void flatButtons(QImage& atlas) {
    place(atlas, atlasPiece("flat.normal"), paintOpaque({27, 32}, palette::kCanvas, [](QPainter& p) {
              p.fillRect(QRect(3, 31, 21, 1), QColor::fromRgb(palette::kLineSoft));
          }));
    place(atlas, atlasPiece("flat.hot"), face({27, 32}, Look::Hot, 9));
}

// The dialog's main button: a face with a round accent badge carrying an arrow in its right end.
QImage startButton(Look look) {
    const QSize size(94, 35);
    return paintOpaque(size, palette::kCanvas, [=](QPainter& p) {
        buttonFace(p, QRect(QPoint(), size), look, 10);
        const QPointF centre(75.5, 17.5);
        QLinearGradient badge(0, 7, 0, 28);
        const QRgb top = look == Look::Pressed ? palette::kAccent : palette::kAccentBright;
        const QRgb bottom = look == Look::Pressed ? palette::kAccentDark : palette::kAccent;
        badge.setColorAt(0, QColor::fromRgb(look == Look::Hot ? qRgb(66, 150, 212) : top));
        badge.setColorAt(1, QColor::fromRgb(bottom));
        p.setPen(Qt::NoPen);
        p.setBrush(badge);
        p.drawEllipse(centre, 10.5, 10.5);
        p.setPen(roundPen(palette::kPaper, 2));
        p.drawLine(centre + QPointF(-5, 0), centre + QPointF(4.5, 0));
        drawChevron(p, centre + QPointF(2.5, 0), 9, 0, 2, palette::kPaper);
    });
}

// Project tabs stand on the main frame: rounded top corners, open at the bottom when current.
QImage projectTab(Look look, bool current) {
    const QSize size(24, 27);
    return paintOpaque(size, palette::kCanvas, [=](QPainter& p) {
        const FaceColours c = faceColours(look);
        const QRect r(0, 0, size.width(), size.height() + 4); // the bottom corners fall below the tab
        if (current) {
            panel(p, r, 3, QColor::fromRgb(palette::kPaper), palette::kLine);
            // A 3-px accent cap marks the current project.
            p.setClipRect(QRect(0, 0, size.width(), 3));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor::fromRgb(palette::kAccent));
            p.drawRoundedRect(QRectF(r), 3, 3);
            return;
        }
        panel(p, r.adjusted(0, 2, 0, 0), 3, verticalGradient(2, size.height(), c.top, c.bottom), c.border);
        p.fillRect(QRect(0, size.height() - 1, size.width(), 1), QColor::fromRgb(palette::kLineSoft));
    });
}

// Preferences page tabs form a list down the left; a tab is open to the right, towards its page, so the
// same picture serves 37- and 30-pixel-wide views.
QImage prefsTab(bool lit) {
    const QSize size(37, 31);
    return paintOpaque(size, palette::kCanvas, [=](QPainter& p) {
        const QRect r(0, 0, size.width() + 6, size.height()); // the right corners fall beyond the picture
        if (!lit) {
            panel(p, r, 3, verticalGradient(0, size.height(), qRgb(248, 251, 254), qRgb(237, 243, 248)),
                  palette::kLineSoft);
            return;
        }
        panel(p, r, 3, QColor::fromRgb(palette::kPaper), palette::kLine);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromRgb(palette::kAccent));
        p.drawRoundedRect(QRectF(2, 4, 3, size.height() - 8), 1.5, 1.5);
    });
}

// The toolbar buttons' back: the band's own colour with a faint divider at the right, the same in every
// state; the pictogram rows of the toolbar sprites show the state.
QImage toolbarBack() {
    const QRect bounds = imageBounds("toolbar.back");
    QImage out(bounds.size(), QImage::Format_RGB32);
    out.fill(palette::kToolbarBand);
    QPainter p(&out);
    p.fillRect(QRect(79, 12, 1, bounds.height() - 24), QColor(222, 232, 240));
    return out;
}

QImage tabStripArrow(int degrees) {
    return paintKeyed({18, 22}, palette::kFace, [degrees](QPainter& p) {
        drawChevron(p, QPointF(9, 11), 11, degrees, 2.2, palette::kAccent);
    });
}

} // namespace

void paintButtons(QImage& atlas) {
    pushButtons(atlas);
    flatButtons(atlas);

    place(atlas, atlasPiece("wizard.start.normal"), startButton(Look::Normal));
    place(atlas, atlasPiece("wizard.start.hot"), startButton(Look::Hot));
    place(atlas, atlasPiece("wizard.start.pressed"), startButton(Look::Pressed));

    place(atlas, atlasPiece("tab.normal"), projectTab(Look::Normal, false));
    place(atlas, atlasPiece("tab.hot"), projectTab(Look::Hot, false));
    place(atlas, atlasPiece("tab.disabled"), projectTab(Look::Disabled, false));
    place(atlas, atlasPiece("tab.pressed"), projectTab(Look::Pressed, true));

    place(atlas, atlasPiece("prefs.tab.normal"), prefsTab(false));
    place(atlas, atlasPiece("prefs.tab.hot"), prefsTab(true));

    place(atlas, imageBounds("toolbar.back").topLeft(), toolbarBack());

    place(atlas, atlasPiece("tabs.forward"), tabStripArrow(0));
    place(atlas, atlasPiece("tabs.back"), tabStripArrow(180));
}

} // namespace skin_art
