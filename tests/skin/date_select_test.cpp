#include "skin/calendar_grid.h"
#include "skin/context_menu.h"
#include "skin/skin_date_select.h"
#include "tests/support/modal_script.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/test_clock.h"
#include "tests/support/test_printers.h"
#include "tests/support/window_events.h"

#include <QLocale>
#include <ctime>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skintest::ClickAt;
using skintest::TestDialog;

namespace {

// 2024-01-31 12:00 UTC: noon, so today is the 31st in every time zone.
constexpr std::int64_t kJan31Noon2024 = 1706702400;

QDate Unpacked(int packed) {
    return QDate(2000 + packed / 50 / 20, packed / 50 % 20, packed % 50);
}

class DefaultLocale {
  public:
    explicit DefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(m_saved); }

  private:
    QLocale m_saved;
};

// A calendar at (30, 50), created in the given locale on 31 January 2024, whose dialog acts as its owner: a
// month from the menu goes to SetMonth, a request for bold days marks the cells in boldCells.
struct CalendarDialog {
    explicit CalendarDialog(const QLocale& locale)
        : defaultLocale(locale), clock({.monotonicMs = kJan31Noon2024 * 1000, .utcSeconds = kJan31Noon2024}) {
        dlg.build = [this](TestDialog& d) {
            cal.Create(&d.m_rootHolder, 2, u"date_sel_"_s);
            cal.SetPosition(30, 50, 200, 140, 0);
        };
        dlg.handle = [this](const QString& command, int) {
            bool isMonth = false;
            const int month = command.mid(9).toInt(&isMonth);
            if (isMonth) {
                cal.SetMonth(month);
            } else if (command == "date_sel_recalculate_bolds"_L1) {
                ++boldRequests;
                cal.m_bold.fill(false);
                for (int cell : boldCells) {
                    cal.m_bold[size_t(cell)] = true;
                }
            }
            return isMonth;
        };
        dlg.Open();
        Paint();
        dlg.commands.clear();
        dlg.params.clear();
    }
    plat::Point Cell(int column, int row) const {
        return skintest::At(cal, 14 + 24 * column + 12, 46 + 15 * row + 7);
    }
    void Paint() { dlg.RenderAll(skin::HostWindow(dlg).backBuffer()); }
    QDate Clicked(int column, int row) {
        ClickAt(dlg, Cell(column, row));
        return dlg.commands.back() == "date_sel_"_L1 ? Unpacked(dlg.params.back()) : QDate();
    }

    DefaultLocale defaultLocale; // the calendar reads it when it is made
    twtest::TestClock clock;
    TestDialog dlg;
    CSkinDateSelect cal;
    int boldRequests = 0;
    std::vector<int> boldCells;
};

QLocale German() {
    return QLocale(QLocale::German, QLocale::Germany);
}
QLocale American() {
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

} // namespace

// The first column is the locale's first day of the week and so are the days below it. A click on a day of
// the month before moves there; the next paint asks once for bold days.
TEST(SkinDateSelect, WeekStartsOnTheLocalesFirstDayAndNeighbouringDaysMoveTheMonth) {
    for (const bool mondayFirst : {true, false}) {
        CalendarDialog d(mondayFirst ? German() : American());
        EXPECT_EQ(d.cal.m_monthNames[2], mondayFirst ? u"März"_s : u"March"_s);
        EXPECT_EQ(d.cal.m_dayNames[size_t(d.cal.m_firstDayOfWeek)], mondayFirst ? u"Mo"_s : u"Sun"_s);
        EXPECT_EQ(d.boldRequests, 1);
        const int firstJanuary = mondayFirst ? 0 : 1; // the column of Monday 1 January 2024
        EXPECT_EQ(d.Clicked(firstJanuary, 0), QDate(2024, 1, 1));
        EXPECT_EQ(d.Clicked(0, 3).dayOfWeek(), mondayFirst ? Qt::Monday : Qt::Sunday);
        EXPECT_EQ(d.Clicked(0, 0), mondayFirst ? QDate(2024, 1, 1) : QDate(2023, 12, 31));

        d.Paint();
        EXPECT_EQ(d.boldRequests, mondayFirst ? 1 : 2) << "asked once per change of the shown days";

        const int cell = 3 * CSkinDateSelect::kRows + 2;
        d.boldCells = {cell};
        d.cal.SetMonth(2);
        d.Paint();
        d.Paint();
        EXPECT_EQ(d.boldRequests, mondayFirst ? 2 : 3);
        EXPECT_TRUE(d.cal.m_bold[size_t(cell)]);
    }
}

// Month lengths come from the calendar, not from seconds: a selected 31st becomes the new month's last day in
// leap and common years and across Berlin's clock change on Sunday 31 March 2024. The packed date goes along.
TEST(SkinDateSelect, SetMonthKeepsTheDayWithinTheMonthAcrossLeapYearsAndClockChanges) {
    const QByteArray savedZone = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    tzset();
    struct Case {
        int year, month, day, packed;
    };
    for (const Case c : {Case{2024, 2, 29, 24129}, Case{2023, 2, 28, 23128}, Case{2000, 2, 29, 129},
                         Case{2100, 2, 28, 128}, Case{2024, 3, 31, 24181}, Case{2023, 10, 31, 23531}}) {
        CalendarDialog d(German());
        d.cal.m_year = c.year;
        d.cal.SetMonth(c.month);
        d.cal.SetMonth(13);
        EXPECT_EQ(d.cal.m_day, c.day) << c.year << '-' << c.month;
        EXPECT_EQ(d.dlg.commands, (QStringList{u"date_sel_"_s}));
        EXPECT_EQ(d.dlg.params.back(), c.packed);
    }
    CalendarDialog d(German());
    d.cal.SetMonth(3);
    EXPECT_EQ(d.Clicked(6, 4), QDate(2024, 3, 31));
    EXPECT_EQ(d.Clicked(6, 5), QDate(2024, 4, 7));
    EXPECT_EQ(skin::PackedDate(QDate(2009, 8, 25)), 9425);
    EXPECT_EQ(skin::PackedDate(QDate(2010, 1, 1)), 10051);
    savedZone.isNull() ? qunsetenv("TZ") : qputenv("TZ", savedZone);
    tzset();
}

// A right click opens the months 15 px below the pointer; the chosen one reaches the dialog, which moves the
// calendar there.
TEST(SkinDateSelect, RightClickOffersTheMonthsOfTheLocale) {
    CalendarDialog d(American());
    QStringList offered;
    plat::Rect placed;
    skintest::ModalScript hook([&](CSkinDlg_Base& w) {
        auto& menu = dynamic_cast<CSkinMenuPopup&>(w);
        placed = skin::HostWindow(menu).windowRect();
        for (const CSkinMenuPopup_Item& item : menu.Items())
            offered.append(item.text + u' ' + item.command);
        for (int y = 0; y < menu.m_height && menu.HoveredItem() != 4; ++y)
            skintest::MoveMouse(menu, {30, y});
        skintest::PressMouse(menu, {30, menu.Pointer().lastMouse.y}, false);
    });
    const plat::Point cell = d.Cell(2, 2);
    ClickAt(d.dlg, cell, Qt::RightButton);
    QCoreApplication::processEvents();
    ASSERT_EQ(offered.size(), 12);
    EXPECT_EQ(offered[11], u"December date_sel_12"_s);
    EXPECT_EQ(placed.topLeft(), skin::HostWindow(d.dlg).clientToScreen({cell.x, cell.y + 15}));
    EXPECT_EQ(d.dlg.commands.mid(0, 2), (QStringList{u"date_sel_5"_s, u"date_sel_"_s}));
    EXPECT_EQ(d.cal.SelectedDate(), QDate(2024, 5, 31));
}
