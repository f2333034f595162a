#include "skin/skin_label.h"
#include "tests/skin/pixel_count.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/window_events.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skintest::TestDialog;
using skintest::UnshownDialog;

namespace {

QImage Render(CSkinLabel& label) {
    plat::DeviceContext dc(label.m_width, label.m_height);
    label.Draw(dc, 0, 0, true);
    return dc.image().copy();
}

// Pixels of the element's text (above the link line) that pass test.
int TextPixels(const plat::DeviceContext& dc, const CSkinElement& e, bool (*test)(plat::ColorRef)) {
    const plat::Point at = e.GetDialogPos();
    return skintest::CountPixels(dc, plat::Rect::fromXywh(at.x, at.y, e.m_width, e.m_height - 4), test);
}

} // namespace

// LF and CR LF captions are stored as CR LF, measured and drawn alike; a lone CR stays inside its line.
// Measuring to an unchanged size leaves the label alone.
TEST(SkinLabel, OnlyLineFeedsBreakLinesAndTheyAreStoredAsCrLf) {
    UnshownDialog d;
    CSkinLabel one, lf, crlf, cr, blank;
    const QString texts[] = {u"First line"_s, u"First line\nSecond\tline"_s, u"First line\r\nSecond\tline"_s,
                             u"First line\rSecond\tline"_s, u"a\r\n\nb"_s};
    CSkinLabel* labels[] = {&one, &lf, &crlf, &cr, &blank};
    for (int i = 0; i < 5; ++i)
        labels[i]->CreateLabel(&d.dlg.m_rootHolder, 2, texts[i]);
    EXPECT_EQ(lf.GetText(), texts[2]);
    EXPECT_EQ(blank.GetText(), u"a\r\n\r\nb"_s);
    EXPECT_EQ(Render(lf), Render(crlf));
    const int line = one.m_height - 1;
    EXPECT_EQ(lf.m_height - 1, 2 * line);
    EXPECT_EQ(blank.m_height - 1, 3 * line);
    EXPECT_EQ(cr.m_height, one.m_height) << "a lone CR is no line break";
    one.m_x = 7; // noticed only when the label places itself again
    one.SetText(u"First line"_s);
    EXPECT_EQ(one.m_right, one.m_width) << "measuring to the same size places nothing";
}

// A link sends its command on a real click and is blue and underlined; without the flag the line goes, the
// colour stays. Disabled text is grey over a lighter shade.
TEST(SkinLabel, LinkClickedThroughTheWindowAndDisabledLook) {
    TestDialog dlg;
    CSkinLabel link, off;
    dlg.build = [&](TestDialog& d) {
        link.CreateLabel(&d.m_rootHolder, 2, u"Open the manual"_s, 20, 60, u"open_manual"_s, QString(), true);
        off.CreateLabel(&d.m_rootHolder, 3, u"Not now"_s, 20, 100);
        off.CreateFont(22, true, false);
        off.SetEnabled(false);
    };
    dlg.Open();
    skintest::ClickOn(dlg, link);
    EXPECT_EQ(dlg.commands, (QStringList{u"open_manual"_s}));
    plat::DeviceContext& dc = skin::HostWindow(dlg).backBuffer();
    const plat::Point line = skintest::At(link, 2, link.m_height - 3);
    auto blue = [](plat::ColorRef c) { return plat::BlueOf(c) > 150 && plat::RedOf(c) < 100; };
    for (bool linked : {true, false}) {
        link.SetLink(linked);
        dlg.RenderAll(dc);
        EXPECT_EQ(dc.getPixel(line.x, line.y) == CSkinLabel::kLinkColor, linked);
        EXPECT_GT(TextPixels(dc, link, blue), 0);
    }
    EXPECT_GT(TextPixels(
                  dc, off, [](plat::ColorRef c) { return c == plat::Rgb(100, 100, 100); }),
              0);
    EXPECT_GT(TextPixels(dc, off, [](plat::ColorRef c) { return c == plat::Rgb(200, 200, 200); }), 0);
}
