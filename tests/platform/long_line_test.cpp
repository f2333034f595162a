#include "platform/device_context.h"
#include "platform/font.h"

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QImage>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using plat::DeviceContext;
using plat::Rect;

namespace {

constexpr plat::ColorRef kWhite = plat::Rgb(255, 255, 255);

// Numbered words, so that no two pieces of a line look alike.
QString Numbered(const QString& word, int count) {
    QString text;
    for (int i = 0; i < count; ++i)
        text += word + QString::number(i) + u' ';
    return text;
}

// Lines in the characters a keyword may hold: marks after their letters, pairs of surrogates, prefixes and
// tabs; each far longer than a line shows.
std::vector<QString> LongLines() {
    return {Numbered(u"widgets"_s, 700), Numbered(u"cafe\u0301 na\u0308ive"_s, 400),
            Numbered(u"\U0001F600\U0001F680"_s, 900), Numbered(u"&a\tb&&c"_s, 700)};
}

class LongLine : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dc.create(300, 40);
        m_dc.selectFont(&m_font);
        m_dc.setTextColor(0);
    }
    QImage Drawn(const std::function<void()>& draw) {
        m_dc.fillSolidRect(Rect{0, 0, 300, 40}, kWhite);
        draw();
        return m_dc.image().copy();
    }
    plat::Font m_font{u"Arial"_s, 15};
    DeviceContext m_dc;
};

} // namespace

// A long line shows and measures as the whole of it would: elided to the same words, drawn to the same pixels
// as a beginning measured whole, measured exactly up to the widest line.
TEST_F(LongLine, ShowsAndMeasuresAsItsWholeText) {
    const QFontMetrics fm(m_font.qfont());
    for (const QString& text : LongLines()) {
        SCOPED_TRACE(text.left(12).toStdString());
        for (const int width : {0, 1, 37, 300, 2000})
            EXPECT_EQ(m_font.elided(text, width), fm.elidedText(text, Qt::ElideRight, width)) << width;
        EXPECT_EQ(m_font.textExtent(text).cx, std::min(fm.horizontalAdvance(text), plat::kMaxLineWidth));

        // Short beginnings are drawn whole, as every text was before; one far wider than the surface shows
        // what the whole text shows.
        const QString beginning = text.left(1000);
        ASSERT_GT(fm.horizontalAdvance(beginning), 2 * 800);
        for (const unsigned format : std::initializer_list<unsigned>{
                 plat::kTextSingleLine | plat::kTextEndEllipsis,
                 plat::kTextSingleLine | plat::kTextExpandTabs,
                 plat::kTextSingleLine | plat::kTextNoPrefix | plat::kTextVCenter, plat::kTextWordBreak}) {
            const auto draw = [&](const QString& line) {
                return Drawn([&] {
                    Rect r{-20, 0, 250, 40};
                    m_dc.drawText(line, r, format);
                });
            };
            EXPECT_EQ(draw(text), draw(beginning)) << format;
        }
        const auto written = [&](const QString& line) { return Drawn([&] { m_dc.textOut(-500, 5, line); }); };
        EXPECT_EQ(written(text), written(beginning));
    }
    // Joined letters of a right-to-left script are elided at the same letter.
    const QString joined = Numbered(u"\u0645\u0631\u062D\u0628\u0627"_s, 900);
    for (const int width : {1, 300, 2000})
        EXPECT_EQ(m_font.elided(joined, width), fm.elidedText(joined, Qt::ElideRight, width)) << width;
    // Characters of no width never make a text look complete when only its beginning is shown.
    const QString hidden = QString(200000, u'\u200B') + u"tail"_s;
    EXPECT_TRUE(m_font.elided(hidden, 300).endsWith(u'\u2026'));
    Rect label{0, 0, 0, 0};
    m_dc.drawText(hidden, label, plat::kTextSingleLine | plat::kTextCalcRect);
    EXPECT_GT(label.width(), 0);
}

// A line of tens of megabytes costs what its shown part costs: measuring, eliding, sizing a label to it and
// drawing it take a moment, not seconds and gigabytes.
TEST_F(LongLine, OfMegabytesIsNeverShapedWhole) {
    const QString huge = u"blue widgets and red gadgets "_s.repeated(700000);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(m_font.textExtent(huge).cx, plat::kMaxLineWidth);
    EXPECT_LE(QFontMetrics(m_font.qfont()).horizontalAdvance(m_font.elided(huge, 300)), 300);
    Rect label{0, 0, 0, 0};
    m_dc.drawText(huge, label, plat::kTextSingleLine | plat::kTextExpandTabs | plat::kTextCalcRect);
    EXPECT_EQ(label.width(), plat::kMaxLineWidth);
    Rect cell{0, 0, 300, 40};
    m_dc.drawText(huge, cell, plat::kTextSingleLine | plat::kTextEndEllipsis);
    m_dc.textOut(0, 0, huge);
    EXPECT_LT(clock.elapsed(), 1000);
}
