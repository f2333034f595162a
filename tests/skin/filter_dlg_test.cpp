#include "platform/native_edit.h"
#include "platform/screens.h"
#include "skin/skin_constants.h"
#include "skin/skin_list_box_filter_dlg.h"
#include "skin/skin_win_list.h"
#include "tests/skin/filter_report.h"
#include "tests/support/modal_script.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/test_printers.h"
#include "tests/support/window_events.h"

#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skintest::ClickOn;
using skintest::FilterReport;
using skintest::Record;
using skintest::TestDialog;
using Dlg = CSkinListBox_FilterDlg;

namespace {

// A shown dialog holding the filter report; each filter is set through its button and the real dialog, which
// the test drives with window events once it shows.
struct FilterWindow {
    FilterWindow() {
        const std::pair<Record, QString> rows[] = {
            {{10, 0.5f, u"Cheap flights"_s}, u"site a"_s}, {{20, 1.25f, u"cheaper hotels"_s}, u"Site A"_s},
            {{30, 2.5f, u"free tickets"_s}, u"site b"_s},  {{40, -1.0f, u"freedom flights"_s}, u"site c"_s},
            {{50, 7.0f, u"not so cheap"_s}, u"a site"_s},  {{60, 12.0f, u"booking"_s}, u"SITE B"_s}};
        for (const auto& [record, group] : rows) {
            grid.records.push_back(record);
            grid.groups.append(group);
        }
        dlg.m_width = 700;
        dlg.m_height = 400;
        dlg.m_keepPosition = true;
        dlg.build = [this](TestDialog& d) {
            grid.SetupColumns(&d.m_rootHolder, d.m_nextElementId++);
            grid.m_sortColumn = FilterReport::kVolume;
            grid.SetPosition(10, 40, 680, 350, CSkinElement::kShowFlag);
        };
        dlg.Open();
        skin::HostWindow(dlg).move(200, 100);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dlg.widget()));
        dlg.RedrawNow();
    }
    CSkinListBox_Column& Column(int id) { return grid.m_columns[static_cast<std::size_t>(id)]; }
    // Presses the column's filter button; act runs in the dialog once it shows. Answers the volumes shown
    // afterwards.
    std::vector<int> Filter(int id, const std::function<void(Dlg&)>& act) {
        skintest::ModalScript hook([&](CSkinDlg_Base& w) {
            if (auto* filter = dynamic_cast<Dlg*>(&w)) {
                filter->RedrawNow();
                act(*filter);
            }
        });
        const CSkinListBox_Column& c = Column(id);
        skintest::ClickAt(dlg, skintest::At(grid, c.x + c.width, CSkinListBox::kHeaderHeight - 8));
        dlg.RedrawNow();
        std::vector<int> shown;
        for (const int item : grid.Order())
            shown.push_back(grid.records[static_cast<std::size_t>(item)].volume);
        return shown;
    }

    TestDialog dlg;
    FilterReport grid;
};

// Clicks into a field and types text as keys (a line feed as Enter).
void Type(Dlg& d, CSkinEdit& field, const QString& text) {
    if (!field.Native())
        ClickOn(d, field);
    ASSERT_NE(field.Native(), nullptr);
    QWidget* native = field.Native()->widget();
    for (const QChar c : text)
        if (c == u'\n')
            QTest::keyClick(native, Qt::Key_Return);
        else
            QTest::sendKeyEvent(QTest::Press, native, Qt::Key_unknown, QString(c), {});
}

QStringList Captions(const std::deque<CSkinRadio>& checks, bool checked) {
    QStringList out;
    for (const CSkinRadio& c : checks)
        if (c.m_checked == checked)
            out.append(c.m_caption);
    return out;
}

} // namespace

// Patterns are typed one per line, stored trimmed and lower-cased, and typing ticks the enable box at once;
// the rows then follow the patterns whatever their case.
TEST(FilterDialog, TextPatternsTypedIntoTheDialogFilterTheReport) {
    FilterWindow w;
    const std::vector<int> shown = w.Filter(FilterReport::kKeyword, [](Dlg& d) {
        EXPECT_FALSE(d.m_enableCheck.m_checked);
        Type(d, d.m_edit1, u"  Cheap*\nFLIGHTS  "_s);
        EXPECT_TRUE(d.m_enableCheck.m_checked);
        Type(d, d.m_edit2, u"free"_s);
        ClickOn(d, d.m_ok);
    });
    const CSkinListBox_Column& c = w.Column(FilterReport::kKeyword);
    EXPECT_TRUE(c.filterOn);
    EXPECT_EQ(c.filterText, u"  Cheap*\r\nFLIGHTS  "_s);
    EXPECT_EQ(c.values, (QStringList{u"cheap*"_s, u"flights"_s}));
    EXPECT_EQ(c.values2, QStringList{u"free"_s});
    EXPECT_EQ(shown, (std::vector<int>{10, 20, 40, 50}));

    // Reopened, the fields hold what was typed; clicking into one and out again changes nothing, and the
    // enable box cleared by hand turns the filter off.
    EXPECT_EQ(w.Filter(FilterReport::kKeyword,
                       [](Dlg& d) {
                           EXPECT_EQ(d.m_edit2.GetText(), u"free"_s);
                           ClickOn(d, d.m_edit1);
                           ClickOn(d, d.m_enableCheck);
                           ClickOn(d, d.m_edit2);
                           ClickOn(d, d.m_ok);
                       }),
              (std::vector<int>{10, 20, 30, 40, 50, 60}));
    EXPECT_FALSE(c.filterOn);
}

// A check list offers every value once (ignoring case); with the filter off all are ticked. "Show All" gives
// its state to every value; OK keeps the ticked ones, which match cells ignoring case; Cancel keeps the
// column as it was; nothing ticked hides every row.
TEST(FilterDialog, CheckListsTickValuesAndShowAllTicksThemAll) {
    FilterWindow w;
    EXPECT_EQ(w.Filter(FilterReport::kGroup,
                       [](Dlg& d) {
                           EXPECT_EQ(Captions(d.m_valueChecks, true),
                                     (QStringList{u"a site"_s, u"site a"_s, u"site b"_s, u"site c"_s}));
                           EXPECT_TRUE(d.m_showAll.m_checked);
                           ClickOn(d, d.m_showAll);
                           EXPECT_TRUE(Captions(d.m_valueChecks, true).isEmpty());
                           EXPECT_TRUE(d.m_enableCheck.m_checked);
                           ClickOn(d, d.m_valueChecks[1]);
                           ClickOn(d, d.m_valueChecks[2]);
                           EXPECT_FALSE(d.m_showAll.m_checked);
                           ClickOn(d, d.m_ok);
                       }),
              (std::vector<int>{10, 20, 30, 60}));
    const CSkinListBox_Column& c = w.Column(FilterReport::kGroup);
    EXPECT_EQ(c.values, (QStringList{u"site a"_s, u"site b"_s}));

    EXPECT_EQ(
        w.Filter(FilterReport::kGroup,
                 [](Dlg& d) {
                     EXPECT_EQ(Captions(d.m_valueChecks, true), (QStringList{u"site a"_s, u"site b"_s}));
                     EXPECT_FALSE(d.m_showAll.m_checked);
                     ClickOn(d, d.m_valueChecks[0]);
                     ClickOn(d, d.m_valueChecks[3]);
                     EXPECT_TRUE(d.m_showAll.m_checked); // every value ticked again
                     ClickOn(d, d.m_cancel);
                 }),
        (std::vector<int>{10, 20, 30, 60}));
    EXPECT_EQ(c.values, (QStringList{u"site a"_s, u"site b"_s}));

    EXPECT_TRUE(w.Filter(FilterReport::kGroup, [](Dlg& d) {
                     ClickOn(d, d.m_valueChecks[1]);
                     ClickOn(d, d.m_valueChecks[2]);
                     ClickOn(d, d.m_ok);
                 }).empty());

    // Containing values: a cell holding a ticked value shows, case-sensitively.
    w.Column(FilterReport::kGroup).filterType = CSkinListBox_Column::kFilterContainedValues;
    EXPECT_EQ(w.Filter(FilterReport::kGroup,
                       [](Dlg& d) {
                           ClickOn(d, d.m_valueChecks[3]);
                           ClickOn(d, d.m_ok);
                       }),
              (std::vector<int>{40}));
}

// One value is chosen from the drop list's popup; with the "contains" option the cells holding it show.
// "Show All" switches the filter off and forgets the value.
TEST(FilterDialog, OneValueFromTheListWithAndWithoutContains) {
    FilterWindow w;
    CSkinListBox_Column& c = w.Column(FilterReport::kGroup);
    c.filterType = CSkinListBox_Column::kFilterOneValueContains;
    const auto pick = [](Dlg& d, int line) {
        const plat::Point at = skintest::Centre(d.m_dropList);
        QTest::mouseClick(d.widget()->windowHandle(), Qt::LeftButton, {}, QPoint(at.x, at.y));
        ASSERT_TRUE(d.m_dropList.IsPopupOpen());
        QTest::mouseClick(d.m_dropList.Popup()->widget()->windowHandle(), Qt::LeftButton, {},
                          QPoint(20, 4 + 15 * line + 7));
        EXPECT_FALSE(d.m_dropList.IsPopupOpen());
    };
    EXPECT_EQ(w.Filter(FilterReport::kGroup,
                       [&](Dlg& d) {
                           EXPECT_EQ(d.m_dropList.GetText(), u"Show All"_s);
                           EXPECT_FALSE(d.m_containsCheck.m_checked);
                           pick(d, 3); // "site a"
                           EXPECT_TRUE(d.m_enableCheck.m_checked);
                           ClickOn(d, d.m_ok);
                       }),
              (std::vector<int>{10, 20}));
    EXPECT_EQ(c.filterText, u"site a"_s);
    EXPECT_TRUE(c.filterText2.isEmpty());

    EXPECT_EQ(w.Filter(FilterReport::kGroup,
                       [&](Dlg& d) {
                           EXPECT_EQ(d.m_dropList.GetText(), u"site a"_s);
                           ClickOn(d, d.m_containsCheck);
                           ClickOn(d, d.m_ok);
                       }),
              (std::vector<int>{10}));
    EXPECT_EQ(c.filterText2, u"1"_s);

    EXPECT_EQ(w.Filter(FilterReport::kGroup,
                       [&](Dlg& d) {
                           EXPECT_TRUE(d.m_containsCheck.m_checked); // the option as stored
                           pick(d, 0);
                           ClickOn(d, d.m_ok);
                       }),
              (std::vector<int>{10, 20, 30, 40, 50, 60}));
    EXPECT_FALSE(c.filterOn);
    EXPECT_TRUE(c.filterText.isEmpty() && c.filterText2.isEmpty());
}

// Range fields show the range only while its ends differ and the report's hints beside them; typing ticks
// the enable box at once, Enter in a field stores as OK does, and a minimum that is no number switches the
// filter off.
TEST(FilterDialog, RangesAreTypedAndCheckedAsNumbers) {
    FilterWindow w;
    CSkinListBox_Column& volume = w.Column(FilterReport::kVolume);
    EXPECT_EQ(w.Filter(FilterReport::kVolume,
                       [](Dlg& d) {
                           EXPECT_EQ(d.m_edit1.GetText(), u"0"_s);
                           EXPECT_EQ(d.m_edit2.GetText(), u"100"_s);
                           EXPECT_EQ(d.m_labels[1].GetText(), u"(lowest on report: 0)"_s);
                           EXPECT_GE(d.m_width, d.m_labels[3].m_right + 30);
                           Type(d, d.m_edit1, u"5"_s);
                           EXPECT_TRUE(d.m_enableCheck.m_checked);
                           d.m_edit2.SetText(QString());
                           Type(d, d.m_edit2, u"40\n"_s);
                           EXPECT_EQ(d.Result(), skin::kResultOk);
                       }),
              (std::vector<int>{10, 20, 30, 40}));
    EXPECT_EQ(volume.intMin, 5);
    EXPECT_EQ(volume.intMax, 40);

    EXPECT_EQ(w.Filter(FilterReport::kVolume,
                       [](Dlg& d) {
                           d.m_edit1.SetText(QString());
                           Type(d, d.m_edit1, u"x"_s);
                           ClickOn(d, d.m_ok);
                       }),
              (std::vector<int>{10, 20, 30, 40, 50, 60}));
    EXPECT_FALSE(volume.filterOn);

    CSkinListBox_Column& cpc = w.Column(FilterReport::kCpc);
    cpc.floatMin = cpc.floatMax = 3.0f;
    EXPECT_EQ(w.Filter(FilterReport::kCpc,
                       [](Dlg& d) {
                           EXPECT_TRUE(d.m_edit1.GetText().isEmpty() && d.m_edit2.GetText().isEmpty());
                           Type(d, d.m_edit1, u"1.2"_s);
                           Type(d, d.m_edit2, u"7.5"_s);
                           ClickOn(d, d.m_ok);
                       }),
              (std::vector<int>{20, 30, 50}));
    EXPECT_FLOAT_EQ(cpc.floatMin, 1.2f);
    EXPECT_EQ(w.Filter(FilterReport::kCpc,
                       [](Dlg& d) {
                           EXPECT_EQ(d.m_edit1.GetText(), u"1.20"_s);
                           ClickOn(d, d.m_cancel);
                       })
                  .size(),
              3u);
}

// The dialog's right edge is the filter button's and its top the header's bottom, on the screen; a dialog
// that would start left of the screen starts at its edge. The window manager shows its title as plain text
// (the frame draws "Filter" bold).
TEST(FilterDialog, OpensUnderTheFilterButton) {
    FilterWindow w;
    for (const int id : {int(FilterReport::kGroup), int(FilterReport::kVolume)}) {
        plat::Rect at;
        QString title;
        w.Filter(id, [&](Dlg& d) {
            at = skin::HostWindow(d).windowRect();
            title = skin::HostWindow(d).windowText();
            ClickOn(d, d.m_cancel);
        });
        const CSkinListBox_Column& c = w.Column(id);
        EXPECT_EQ(title, id == FilterReport::kGroup ? u"Filter: Group "_s : u"Filter: Volume"_s);
        const plat::Point button = skin::HostWindow(w.dlg).clientToScreen(
            skintest::At(w.grid, c.x + c.width + CSkinListBox::kColumnGap, CSkinListBox::kHeaderHeight));
        EXPECT_EQ(at.top, button.y);
        EXPECT_EQ(at.right, qMax(button.x, at.width())) << id;
    }
    // Near the bottom of the screen the dialog rises until its buttons can be reached.
    const plat::Rect area = plat::AvailableRectAt(skin::HostWindow(w.dlg).clientToScreen({0, 0}));
    skin::HostWindow(w.dlg).move(200, area.bottom - 120);
    plat::Rect at;
    w.Filter(FilterReport::kKeyword, [&](Dlg& d) {
        at = skin::HostWindow(d).windowRect();
        ClickOn(d, d.m_cancel);
    });
    EXPECT_EQ(at.bottom, area.bottom);
    EXPECT_GT(at.height(), 200);
}

// Another window taking the focus while a field is being edited ends the editing: the typed text stays in
// the field, the change ticks "Filtering is enabled for this column", and OK afterwards stores it.
TEST(FilterDialog, LosingTheFocusEndsEditing) {
    FilterWindow w;
    CSkinListBox_Column& volume = w.Column(FilterReport::kVolume);
    QWidget elsewhere;
    elsewhere.setGeometry(900, 600, 100, 80);
    EXPECT_EQ(w.Filter(FilterReport::kVolume,
                       [&](Dlg& d) {
                           d.m_edit2.SetText(QString());
                           Type(d, d.m_edit2, u"35"_s);
                           ASSERT_NE(d.m_edit2.Native(), nullptr);
                           elsewhere.show();
                           elsewhere.activateWindow();
                           EXPECT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
                           EXPECT_EQ(d.m_edit2.Native(), nullptr);
                           EXPECT_EQ(d.m_edit1.Native(), nullptr);
                           EXPECT_FALSE(d.m_dropList.IsPopupOpen());
                           EXPECT_EQ(d.m_edit2.GetText(), u"35"_s);
                           EXPECT_TRUE(d.m_enableCheck.m_checked);
                           ClickOn(d, d.m_ok);
                       }),
              (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(volume.intMax, 35);
}
