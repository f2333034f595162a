#include "projects/common/project_bar.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_holder.h"
#include "skin/skin_label.h"
#include "skin/tooltip_layout.h"
#include "tests/app/app_test_support.h"
#include "tests/projects/kind_test.h"
#include "tests/support/test_clock.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The visible label of the main window whose tooltip is tooltip, or null.
CSkinLabel* LabelWithTooltip(const CSkinDlgHolder& holder, const QString& tooltip) {
    for (const CSkinDlgHolder_Element& child : holder.Children()) {
        if (child.element == &holder || !child.element->m_visible)
            continue;
        if (auto* inner = dynamic_cast<const CSkinDlgHolder*>(child.element)) {
            if (CSkinLabel* found = LabelWithTooltip(*inner, tooltip))
                return found;
        } else if (auto* label = dynamic_cast<CSkinLabel*>(child.element);
                   label && label->m_tooltip == tooltip) {
            return label;
        }
    }
    return nullptr;
}

using LongKeyword = projtest::KindTest;

} // namespace

// A keyword of megabytes (a list pasted without its separators) in a project file: it opens and shows in a
// moment, and the page looks as it does for the keyword's first thousand characters (the bar and the grid
// cut it short); the tooltip of the bar's keywords stays on a screen. The keyword stays whole in the project
// and in the file it is saved to.
TEST_F(LongKeyword, OpensInAMomentShowsItCutShortAndSavesItWhole) {
    QByteArray keyword;
    for (int i = 0; keyword.size() < 8'000'000; ++i)
        keyword += "blue widget " + QByteArray::number(i) + ' ';
    const auto write = [&](const QString& name, const QByteArray& text) {
        QFile file(PathOf(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\r\n<Project2>\r\n   <main_keyword>" + text + "</main_keyword>\r\n</Project2>" +
                   QByteArray(1, '\0'));
    };
    write(u"long.twpx"_s, keyword);
    write(u"short.twpx"_s, keyword.left(1000));
    const QString whole = QString::fromLatin1(keyword).trimmed();
    const auto painted = [&] {
        QCoreApplication::processEvents();
        Window().dlg.RedrawNow();
        return skin::HostWindow(Window().dlg).backBuffer().image().copy();
    };

    ASSERT_NE(OpenFile(u"short.twpx"_s), nullptr);
    const QImage ordinary = painted();
    CloseCurrent();

    QElapsedTimer clock;
    clock.start();
    ASSERT_NE(OpenFile(u"long.twpx"_s), nullptr);
    const QImage page = painted();
    // Shaping the keyword whole took seconds and gigabytes here.
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_TRUE(page == ordinary) << "the page differs from the one of the keyword's beginning";

    const QStringList shown = projtest::PageShown(Window().dlg);
    EXPECT_TRUE(shown.contains(u"CSkinLabel: "_s + whole.left(57) + u"..."_s));
    const auto grid = std::find_if(shown.begin(), shown.end(),
                                   [](const QString& line) { return line.startsWith(u"grid: Keyword"_s); });
    ASSERT_TRUE(grid != shown.end() && grid + 1 != shown.end());
    EXPECT_TRUE((grid + 1)->startsWith(u"   "_s + whole + u" | "_s))
        << "the grid's row holds the keyword whole";

    // The tooltip of the bar's keywords, as the pointer resting on them brings it up.
    CSkinLabel* label = LabelWithTooltip(Window().dlg.m_rootHolder, whole + u';');
    ASSERT_NE(label, nullptr);
    EXPECT_LT(label->m_width, Window().dlg.m_width);
    // The real clock, moved on by the test so that the tooltip's delay passes at once.
    twtest::TestClock hover;
    const plat::Point at = label->GetDialogPos();
    clock.restart();
    Window().dlg.onMouseMove(at.x + label->m_width / 2, at.y + label->m_height / 2);
    hover.AdvanceMs(skin::kTooltipDelayMs + 50);
    Window().dlg.onTimer(skin::kTickTimerId);
    CSkinTooltip_windows* tip = Window().dlg.Tooltip();
    ASSERT_NE(tip, nullptr);
    plat::DeviceContext dc(tip->Width(), tip->Height());
    tip->onPaint(dc);
    EXPECT_LT(clock.elapsed(), 2000);
    const skin::TooltipLayout& layout = tip->Layout();
    EXPECT_EQ(layout.lines.size(), size_t(skin::kTooltipMaxLines));
    EXPECT_TRUE(whole.startsWith(layout.lines.front().text));
    EXPECT_TRUE(layout.lines.back().text.endsWith(u'\u2026'));
    EXPECT_LE(tip->Width(), skin::kTooltipMaxTextWidth + 2 * skin::kTooltipMargin);

    // The page and the tooltip, written next to the test program to be looked at.
    const QString renders = QCoreApplication::applicationDirPath() + u"/renders"_s;
    QDir().mkpath(renders);
    EXPECT_TRUE(page.save(renders + u"/long_keyword_page.png"_s));
    EXPECT_TRUE(dc.saveImage(renders + u"/long_keyword_tooltip.png"_s));

    ASSERT_TRUE(SaveCurrent(u"saved.twpx"_s));
    const QByteArray saved = apptest::FileBytes(PathOf(u"saved.twpx"_s));
    EXPECT_TRUE(saved.contains("<main_keyword>" + whole.toLatin1() + ";</main_keyword>"));
    EXPECT_TRUE(saved.contains("<keyword>" + whole.toLatin1() + "</keyword>"));
}
