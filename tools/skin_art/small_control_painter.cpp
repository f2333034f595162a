#include "tools/skin_art/atlas_sections.h"
#include "tools/skin_art/paint_kit.h"
#include "tools/skin_art/palette.h"
#include "tools/skin_art/pictograms.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace skin_art {

namespace {

QImage CheckBox(bool ticked) {
    return PaintKeyed(
        {21, 21}, palette::kCanvas,
        [ticked](QPainter& p) {
            const QRect box(3, 3, 15, 15);
            if (!ticked) {
                Panel(p, box, 3, QColor::fromRgb(palette::kPaper), palette::kLine);
                return;
            }
            Panel(p, box, 3, VerticalGradient(3, 18, palette::kAccentBright, palette::kAccent),
                  palette::kAccentDark);
            DrawTick(p, QRectF(5, 5, 11, 11), 2, palette::kPaper);
        });
}

QImage DropArrow(bool hot) {
    return PaintOpaque(
        {20, 19}, palette::kPaper,
        [hot](QPainter& p) {
            if (hot)
                Panel(p, QRect(1, 1, 18, 17), 3, QColor::fromRgb(palette::kAccentWash), palette::kAccentLine);
            else
                p.fillRect(QRect(0, 3, 1, 13), QColor::fromRgb(palette::kLineSoft));
            DrawChevron(p, QPointF(10.5, 9.5), 8, 90, 1.8, hot ? palette::kAccent : palette::kGlyph);
        });
}

QImage SliderTrack() {
    return PaintOpaque(
        {46, 10}, palette::kCanvas,
        [](QPainter& p) {
            Panel(p, QRect(1, 3, 44, 4), 2, QColor::fromRgb(qRgb(224, 235, 244)), palette::kLine);
        });
}

enum class ThumbLook { Normal, Hot, Pressed };

QImage SliderThumb(ThumbLook look) {
    return PaintKeyed(
        {25, 25}, palette::kCanvas,
        [look](QPainter& p) {
            const QPointF centre(12.5, 12.5);
            const QRgb border = look == ThumbLook::Normal ? palette::kLine : palette::kAccent;
            p.setPen(HairPen(border));
            if (look == ThumbLook::Pressed)
                p.setBrush(QColor::fromRgb(palette::kAccent));
            else
                p.setBrush(
                    VerticalGradient(4, 21, palette::kPaper,
                                     look == ThumbLook::Hot ? palette::kAccentTint : palette::kFaceBottom));
            p.drawEllipse(centre, 8, 8);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor::fromRgb(look == ThumbLook::Pressed ? palette::kPaper : palette::kAccent));
            p.drawEllipse(centre, 2.5, 2.5);
        });
}

// The progress bar's track with the done part's sample drawn into it, where only the fill piece takes it.
// The done part is dark enough for white text to read on it.
QImage ProgressBar() {
    const QRect bounds = ImageBounds("progress");
    const AtlasPiece& fill = PieceByName("progress.fill");
    return PaintOpaque(bounds.size(), palette::kCanvas, [&](QPainter& p) {
        Panel(p, QRect(0, 0, bounds.width(), bounds.height()), 3, QColor::fromRgb(qRgb(236, 243, 249)),
              palette::kLine);
        const QRect done(fill.x - bounds.x(), fill.y - bounds.y(), fill.width, fill.height);
        p.fillRect(done,
                   VerticalGradient(done.top(), done.bottom() + 1, palette::kAccent, palette::kAccentDark));
    });
}

QImage Splitter(bool vertical) {
    const QSize size = vertical ? QSize(6, 20) : QSize(20, 6);
    QImage out(size, QImage::Format_RGB32);
    const QRgb across[] = {palette::kPaper,      palette::kLineSoft, palette::kAccentWash,
                           palette::kAccentWash, palette::kLineSoft, palette::kPaper};
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            out.setPixel(x, y, across[vertical ? x : y]);
    return out;
}

// Eight frames of a ring of dots with a dark head running clockwise; grey on white, because the tab turns
// darkness into opacity in its own text colour.
QImage BusyStrip() {
    constexpr int kFrames = 8;
    constexpr int kSize = 16;
    return PaintOpaque({kSize, kSize * kFrames}, palette::kPaper, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        for (int frame = 0; frame < kFrames; ++frame) {
            const QPointF centre(kSize / 2.0, kSize * frame + kSize / 2.0);
            for (int dot = 0; dot < kFrames; ++dot) {
                const int age = (frame - dot + kFrames) % kFrames; // 0 = the head
                const int grey = std::min(235, 30 + age * 30);
                const qreal angle = 2 * std::numbers::pi * dot / kFrames - std::numbers::pi / 2;
                p.setBrush(QColor(grey, grey, grey));
                p.drawEllipse(centre + QPointF(std::cos(angle) * 5.5, std::sin(angle) * 5.5), 1.7, 1.7);
            }
        }
    });
}

} // namespace

void PaintSmallControls(QImage& atlas) {
    Place(atlas, PieceByName("check.off"), CheckBox(false));
    Place(atlas, PieceByName("check.on"), CheckBox(true));

    Place(atlas, PieceByName("dropList.arrow.normal"), DropArrow(false));
    Place(atlas, PieceByName("dropList.arrow.hot"), DropArrow(true));

    Place(atlas, PieceByName("slider.track"), SliderTrack());
    Place(atlas, PieceByName("slider.thumb.normal"), SliderThumb(ThumbLook::Normal));
    Place(atlas, PieceByName("slider.thumb.hot"), SliderThumb(ThumbLook::Hot));
    Place(atlas, PieceByName("slider.thumb.pressed"), SliderThumb(ThumbLook::Pressed));

    Place(atlas, ImageBounds("progress").topLeft(), ProgressBar());
    Place(atlas, PieceByName("splitter.horizontal"), Splitter(false));
    Place(atlas, PieceByName("splitter.vertical"), Splitter(true));

    Place(atlas, PieceByName("tab.busy"), BusyStrip());
}

} // namespace skin_art
