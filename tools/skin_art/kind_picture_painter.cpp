#include "tools/skin_art/atlas_sections.h"
#include "tools/skin_art/paint_kit.h"
#include "tools/skin_art/palette.h"

#include <QFont>
#include <QPainterPath>
#include <QPolygonF>
#include <array>
#include <string_view>

namespace skin_art {

namespace {

constexpr qreal kStroke = 3;

void Outline(QPainter& p, QRgb fill) {
    p.setPen(RoundPen(palette::kAccent, kStroke));
    p.setBrush(QColor::fromRgb(fill));
}

void Solid(QPainter& p, QRgb fill) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(fill));
}

// Kind 1: word lists rising from a tide.
void LexiconTide(QPainter& p) {
    p.setPen(RoundPen(palette::kAccent, kStroke));
    p.drawLine(QPointF(9, 10), QPointF(39, 10));
    p.drawLine(QPointF(9, 18), QPointF(31, 18));
    p.drawLine(QPointF(9, 26), QPointF(35, 26));
    QPainterPath wave;
    wave.moveTo(5, 38);
    wave.cubicTo(9, 32, 13, 32, 17, 38);
    wave.cubicTo(21, 44, 25, 44, 29, 38);
    wave.cubicTo(33, 32, 37, 32, 43, 38);
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
}

// Kind 2: a lantern lighting up a niche.
void NicheLantern(QPainter& p) {
    QPainterPath handle;
    handle.arcMoveTo(QRectF(17, 3, 14, 14), 180);
    handle.arcTo(QRectF(17, 3, 14, 14), 180, -180);
    p.setPen(RoundPen(palette::kAccent, kStroke));
    p.setBrush(Qt::NoBrush);
    p.drawPath(handle);
    Solid(p, palette::kAccent);
    p.drawRoundedRect(QRectF(13, 10, 22, 6), 2, 2);
    p.drawRoundedRect(QRectF(12, 38, 24, 6), 2, 2);
    Outline(p, palette::kPaper);
    p.drawRoundedRect(QRectF(16, 17, 16, 20), 3, 3);
    QPainterPath flame;
    flame.moveTo(24, 20.5);
    flame.cubicTo(29, 26, 28.5, 33, 24, 33);
    flame.cubicTo(19.5, 33, 19, 26, 24, 20.5);
    Solid(p, palette::kAccent);
    p.drawPath(flame);
}

// Kind 3: a calendar page holding the months' bars.
void CampaignChronicle(QPainter& p) {
    Outline(p, palette::kPaper);
    p.drawRoundedRect(QRectF(6, 9, 36, 33), 4, 4);
    Solid(p, palette::kAccent);
    p.drawRect(QRectF(7.5, 10.5, 33, 7));
    p.setPen(RoundPen(palette::kAccent, kStroke));
    p.drawLine(QPointF(15, 5), QPointF(15, 12));
    p.drawLine(QPointF(33, 5), QPointF(33, 12));
    Solid(p, palette::kAccent);
    p.drawRect(QRectF(12, 30, 5, 7));
    p.drawRect(QRectF(21.5, 26, 5, 11));
    p.drawRect(QRectF(31, 22, 5, 15));
}

// Kind 4: a summit with a flag on its top.
void RankSummit(QPainter& p) {
    Outline(p, palette::kAccentTint);
    p.drawPolygon(QPolygonF({{4, 41}, {18, 19}, {25, 29}, {31, 21}, {44, 41}}));
    p.setPen(RoundPen(palette::kAccent, kStroke));
    p.drawLine(QPointF(18, 19), QPointF(18, 5));
    Solid(p, palette::kAccent);
    p.drawPolygon(QPolygonF({{18, 4}, {29, 8.5}, {18, 13}}));
}

// Kind 5: a watchtower over the ad positions.
void BidWatchtower(QPainter& p) {
    p.setPen(RoundPen(palette::kAccent, kStroke));
    p.drawLine(QPointF(17, 24), QPointF(13, 44));
    p.drawLine(QPointF(31, 24), QPointF(35, 44));
    p.drawLine(QPointF(16, 30), QPointF(33, 40));
    p.drawLine(QPointF(32, 30), QPointF(15, 40));
    Outline(p, palette::kPaper);
    p.drawRect(QRectF(14, 15, 20, 9));
    Outline(p, palette::kAccentTint);
    p.drawPolygon(QPolygonF({{10, 15}, {24, 4}, {38, 15}}));
    Solid(p, palette::kAccent);
    p.drawRect(QRectF(21, 17.5, 6, 4));
}

// Kind 6: a target where the ads are placed.
void PlacementScout(QPainter& p) {
    const QPointF c(24, 24);
    Outline(p, palette::kPaper);
    p.drawEllipse(c, 16, 16);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 8.5, 8.5);
    Solid(p, palette::kAccent);
    p.drawEllipse(c, 3, 3);
    p.setPen(RoundPen(palette::kAccent, kStroke));
    p.drawLine(QPointF(24, 2), QPointF(24, 9));
    p.drawLine(QPointF(24, 39), QPointF(24, 46));
    p.drawLine(QPointF(2, 24), QPointF(9, 24));
    p.drawLine(QPointF(39, 24), QPointF(46, 24));
}

void Person(QPainter& p, QPointF head, qreal scale, QRgb fill) {
    Outline(p, fill);
    QPainterPath body;
    body.moveTo(head.x() - 13 * scale, head.y() + 22 * scale);
    body.cubicTo(head.x() - 13 * scale, head.y() + 12 * scale, head.x() - 7 * scale, head.y() + 9 * scale,
                 head.x(), head.y() + 9 * scale);
    body.cubicTo(head.x() + 7 * scale, head.y() + 9 * scale, head.x() + 13 * scale, head.y() + 12 * scale,
                 head.x() + 13 * scale, head.y() + 22 * scale);
    body.closeSubpath();
    p.drawPath(body);
    p.drawEllipse(head, 6.5 * scale, 6.5 * scale);
}

// Kind 7: two partners side by side.
void PartnerProspector(QPainter& p) {
    Person(p, QPointF(30, 13), 0.9, palette::kAccentTint);
    Person(p, QPointF(19, 19), 1.0, palette::kPaper);
}

// Kind 8: a compass pointing to the offers.
void OfferCompass(QPainter& p) {
    const QPointF c(24, 24);
    Outline(p, palette::kPaper);
    p.drawEllipse(c, 19, 19);
    Solid(p, palette::kAccent);
    p.drawPolygon(QPolygonF({{24, 9}, {29.5, 24}, {18.5, 24}}));
    Solid(p, palette::kLine);
    p.drawPolygon(QPolygonF({{24, 39}, {29.5, 24}, {18.5, 24}}));
    Solid(p, palette::kPaper);
    p.drawEllipse(c, 2, 2);
}

// The name hangs below the disc: one line or two, it starts at the same height on every button.
void NameText(QPainter& p, const QRect& r, const QString& name) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(15);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor::fromRgb(palette::kInk));
    p.drawText(r, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, name);
}

struct Kind {
    std::string_view name;
    void (*emblem)(QPainter&);
};

constexpr std::array<Kind, 8> kKinds = {{
    {"Lexicon Tide", LexiconTide},
    {"Niche Lantern", NicheLantern},
    {"Campaign Chronicle", CampaignChronicle},
    {"Rank Summit", RankSummit},
    {"Bid Watchtower", BidWatchtower},
    {"Placement Scout", PlacementScout},
    {"Partner Prospector", PartnerProspector},
    {"Offer Compass", OfferCompass},
}};

// A kind's button: its emblem on a pale disc, its name below.
QImage KindPicture(const Kind& kind) {
    return PaintKeyed(
        {120, 159}, palette::kCanvas,
        [&kind](QPainter& p) {
            p.setPen(HairPen(palette::kAccentTint));
            p.setBrush(QColor::fromRgb(palette::kAccentWash));
            p.drawEllipse(QPointF(60, 56), 42, 42);
            p.save();
            p.translate(36, 32);
            kind.emblem(p);
            p.restore();
            NameText(p, QRect(2, 106, 116, 50),
                     QString::fromLatin1(kind.name.data(), qsizetype(kind.name.size())));
        });
}

} // namespace

void PaintKindPictures(QImage& atlas) {
    Place(atlas, PieceByName("wizard.kind1"), KindPicture(kKinds[0]));
    Place(atlas, PieceByName("wizard.kind2"), KindPicture(kKinds[1]));
    Place(atlas, PieceByName("wizard.kind3"), KindPicture(kKinds[2]));
    Place(atlas, PieceByName("wizard.kind4"), KindPicture(kKinds[3]));
    Place(atlas, PieceByName("wizard.kind5"), KindPicture(kKinds[4]));
    Place(atlas, PieceByName("wizard.kind6"), KindPicture(kKinds[5]));
    Place(atlas, PieceByName("wizard.kind7"), KindPicture(kKinds[6]));
    Place(atlas, PieceByName("wizard.kind8"), KindPicture(kKinds[7]));
}

} // namespace skin_art
