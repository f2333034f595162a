#pragma once

#include "platform/device_context.h"
#include "platform/font.h"
#include "skin/skin_element.h"

#include <QDate>
#include <QString>
#include <array>

// A month calendar of 200 x 140 pixels: the month and year, the day names from the locale's first day of the
// week, and six weeks of days. A click selects a day (also one of a neighbouring month); a right click offers
// the twelve months. The owner hears every change through the command with the packed date, and marks bold
// days when asked with the command followed by "recalculate_bolds".
class CSkinDateSelect : public CSkinElement {
  public:
    // Today's date, with the names and first day of the week of the default locale.
    CSkinDateSelect();
    ~CSkinDateSelect() override;

    void Create(CSkinDlgHolder* holder, unsigned id, const QString& command,
                const QString& tooltip = QString());
    void Draw(plat::DeviceContext& dc, int x, int y, bool full) override;
    bool OnMouse(int x, int y, int state) override;
    void OnMouseLeave() override;
    void OnRightClick(int x, int y) override;

    // Moves the selection to the month (1-12) of the selected year, the day cut to the month's length, and
    // sends the command.
    void SetMonth(int month);
    QDate SelectedDate() const { return QDate(m_year, m_month, m_day); }
    // The day in the top-left cell for the shown month.
    QDate FirstShownDay() const;
    // The day name heading a column (0-6), shortened to fit the column.
    QString ShownDayName(int column) const;

    static constexpr int kWidth = 200;
    static constexpr int kHeight = 140;
    static constexpr int kColumns = 7;
    static constexpr int kRows = 6;

    // 0 = Monday ... 6 = Sunday.
    int m_firstDayOfWeek = 0;
    std::array<QString, 12> m_monthNames;
    // Monday first.
    std::array<QString, 7> m_dayNames;
    plat::Font m_font;
    plat::Font m_fontBold;
    // The previous mouse event was a press or a release on the calendar.
    bool m_buttonDown = false;
    int m_day = 1;
    int m_month = 1;
    int m_year = 2000;
    // One flag per day cell, indexed column x 6 + row; the owner sets them.
    std::array<bool, kColumns * kRows> m_bold{};
    // The day before the first shown day when last drawn; a change asks the owner for new bold days.
    QDate m_dayBeforeFirstShown;

  private:
    void Select(const QDate& date);
    void Notify(const QString& command);
};
