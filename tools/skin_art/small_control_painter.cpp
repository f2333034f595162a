#include "tools/skin_art/atlas_sections.h"
#include "tools/skin_art/paint_kit.h"
#include "tools/skin_art/palette.h"
#include "tools/skin_art/pictograms.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace skin_art {

namespace {

QImage checkBox(bool ticked) {
    return paintKeyed({21, 21}, palette::kCanvas, [ticked](QPainter& p) {
        const QRect box(3, 3, 15, 15);
        if (!ticked) {
            panel(p, box, 3, QColor::fromRgb(palette::kPaper), palette::kLine);
            return;
        }
        panel(p, box, 3, verticalGradient(3, 18, palette::kAccentBright, palette::kAccent),
              palette::kAccentDark);
        drawTick(p, QRectF(5, 5, 11, 11), 2, palette::kPaper);
    });
}

QImage dropArrow(bool hot) {
    return paintOpaque({20, 19}, palette::kPaper, [hot](QPainter& p) {
        if (hot) {
            panel(p, QRect(1, 1, 18, 17), 3, QColor::fromRgb(palette::kAccentWash), palette::kAccentLine);
        } else {
            p.fillRect(QRect(0, 3, 1, 13), QColor::fromRgb(palette::kLineSoft));
        }
        drawChevron(p, QPointF(10.5, 9.5), 8, 90, 1.8, hot ? palette::kAccent : palette::kGlyph);
    });
}

QImage sliderTrack() {
    return paintOpaque({46, 10}, palette::kCanvas, [](QPainter& p) {
        panel(p, QRect(1, 3, 44, 4), 2, QColor::fromRgb(qRgb(224, 235, 244)), palette::kLine);
    });
}

enum class ThumbLook { Normal, Hot, Pressed };

QImage sliderThumb(ThumbLook look) {
    return paintKeyed({25, 25}, palette::kCanvas, [look](QPainter& p) {
        const QPointF centre(12.5, 12.5);
        const QRgb border = look == ThumbLook::Normal ? palette::kLine : palette::kAccent;
        p.setPen(hairPen(border));
        if (look == ThumbLook::Pressed) {
            p.setBrush(QColor::fromRgb(palette::kAccent));
        } else {
            p.setBrush(
                verticalGradient(4, 21, palette::kPaper,
                                 look == ThumbLook::Hot ? palette::kAccentTint : palette::kFaceBottom));
        }
        p.drawEllipse(centre, 8, 8);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromRgb(look == ThumbLook::Pressed ? palette::kPaper : palette::kAccent));
        p.drawEllipse(centre, 2.5, 2.5);
    });
}

// The progress bar's track with the done part's sample drawn into it, where only the fill piece takes it.
QImage progressBar() {
    const QRect bounds = imageBounds("progress");
    const AtlasPiece& fill = atlasPiece("progress.fill");
    return paintOpaque(bounds.size(), palette::kCanvas, [&](QPainter& p) {
        panel(p, QRect(0, 0, bounds.width(), bounds.height()), 3, QColor::fromRgb(qRgb(236, 243, 249)),
              palette::kLine);
        const QRect done(fill.x - bounds.x(), fill.y - bounds.y(), fill.width, fill.height);
        p.fillRect(done,
                   verticalGradient(done.top(), done.bottom() + 1, palette::kAccentBright, palette::kAccent));
    });
}

QImage splitter(bool vertical) {
    const QSize size = vertical ? QSize(6, 20) : QSize(20, 6);
    QImage out(size, QImage::Format_RGB32);
    const QRgb across[] = {palette::kPaper,      palette::kLineSoft, palette::kAccentWash,
                           palette::kAccentWash, palette::kLineSoft, palette::kPaper};
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            out.setPixel(x, y, across[vertical ? x : y]);
        }
    }
    return out;
}

// Eight frames of a ring of dots with a dark head running clockwise; grey on white, because the tab turns
// darkness into opacity in its own text colour.
QImage busyStrip() {
    constexpr int kFrames = 8;
    constexpr int kSize = 16;
    return paintOpaque({kSize, kSize * kFrames}, palette::kPaper, [](QPainter& p) {
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

void paintSmallControls(QImage& atlas) {
    place(atlas, atlasPiece("check.off"), checkBox(false));
    place(atlas, atlasPiece("check.on"), checkBox(true));

    place(atlas, atlasPiece("dropList.arrow.normal"), dropArrow(false));
    place(atlas, atlasPiece("dropList.arrow.hot"), dropArrow(true));

    place(atlas, atlasPiece("slider.track"), sliderTrack());
    place(atlas, atlasPiece("slider.thumb.normal"), sliderThumb(ThumbLook::Normal));
    place(atlas, atlasPiece("slider.thumb.hot"), sliderThumb(ThumbLook::Hot));
    place(atlas, atlasPiece("slider.thumb.pressed"), sliderThumb(ThumbLook::Pressed));

    place(atlas, imageBounds("progress").topLeft(), progressBar());
    place(atlas, atlasPiece("splitter.horizontal"), splitter(false));
    place(atlas, atlasPiece("splitter.vertical"), splitter(true));

    place(atlas, atlasPiece("tab.busy"), busyStrip());
}

} // namespace skin_art
