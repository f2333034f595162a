#include "skin/skin_date_select.h"

#include "core/clock.h"
#include "core/number_text.h"
#include "platform/text_format.h"
#include "skin/calendar_grid.h"
#include "skin/commands.h"
#include "skin/context_menu.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_base.h"

#include <QDateTime>
#include <QLocale>

using namespace Qt::StringLiterals;

namespace {

constexpr plat::ColorRef kTitleBand = plat::Rgb(99, 117, 214);
constexpr plat::ColorRef kBody = plat::Rgb(122, 161, 230);
// Dark navy: the day names must stand out from the blue body they lie on.
constexpr plat::ColorRef kDayNameColor = plat::Rgb(20, 36, 110);
constexpr plat::ColorRef kSelectedCell = kTitleBand;
constexpr plat::ColorRef kWhite = plat::Rgb(255, 255, 255);
constexpr plat::ColorRef kBlack = plat::Rgb(0, 0, 0);
constexpr int kTitleHeight = 30;
constexpr plat::Rect kTitleText{40, 7, 155, 22};
constexpr int kGridLeft = 14;
constexpr int kCellWidth = 24;
constexpr int kCellHeight = 15;
constexpr int kGridTop = 46;
constexpr int kDayNamesTop = 30;
constexpr int kDayNamesBottom = 43;
// Blank pixels kept between the names of neighbouring columns.
constexpr int kDayNameGap = 4;
// Clicks count inside the day cells less a pixel of their outer edges.
constexpr plat::Rect kClickArea{15, 47, 182, 136};
constexpr unsigned kCentred =
    plat::kTextCenter | plat::kTextVCenter | plat::kTextSingleLine | plat::kTextNoPrefix;

const char16_t* const kMonthFallback[12] = {u"January",   u"February", u"March",    u"April",
                                            u"May",       u"June",     u"July",     u"August",
                                            u"September", u"October",  u"November", u"December"};
const char16_t* const kDayFallback[7] = {u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat", u"Sun"};

} // namespace

CSkinDateSelect::CSkinDateSelect()
    : m_font(u"Tahoma"_s, 13, plat::kFontWeightNormal), m_fontBold(u"Tahoma"_s, 13, plat::kFontWeightBold) {
    m_className = u"CSkinDateSelect"_s;
    const QDate today = QDateTime::fromSecsSinceEpoch(UtcSeconds()).date();
    m_day = today.day();
    m_month = today.month();
    m_year = today.year();
    const QLocale locale;
    for (int m = 1; m <= 12; ++m) {
        const QString name = locale.standaloneMonthName(m, QLocale::LongFormat);
        m_monthNames[size_t(m - 1)] = name.isEmpty() ? QString::fromUtf16(kMonthFallback[m - 1]) : name;
    }
    for (int d = 1; d <= 7; ++d) {
        const QString name = locale.standaloneDayName(d, QLocale::ShortFormat);
        m_dayNames[size_t(d - 1)] = name.isEmpty() ? QString::fromUtf16(kDayFallback[d - 1]) : name;
    }
    m_firstDayOfWeek = int(locale.firstDayOfWeek()) - 1;
    if (m_firstDayOfWeek < 0 || m_firstDayOfWeek > 6)
        m_firstDayOfWeek = 0;
}

CSkinDateSelect::~CSkinDateSelect() = default;

QString CSkinDateSelect::ShownDayName(int column) const {
    // Names wider than their column would run into their neighbours: all keep as many letters as every one
    // of them can, so the row reads evenly.
    qsizetype letters = 0;
    for (const QString& name : m_dayNames)
        letters = qMax(letters, name.size());
    const auto fits = [this](qsizetype n) {
        for (const QString& name : m_dayNames)
            if (m_font.textExtent(name.left(n)).cx > kCellWidth - kDayNameGap)
                return false;
        return true;
    };
    while (letters > 1 && !fits(letters))
        --letters;
    return m_dayNames[size_t((m_firstDayOfWeek + column) % kColumns)].left(letters);
}

void CSkinDateSelect::Create(CSkinDlgHolder* holder, unsigned id, const QString& command,
                             const QString& tooltip) {
    CSkinElement::Create(holder, id, u""_s, command, 0, tooltip);
    SetPosition(0, 0, kWidth, kHeight, 0);
}

QDate CSkinDateSelect::FirstShownDay() const {
    return skin::FirstShownDay(m_year, m_month, m_firstDayOfWeek);
}

void CSkinDateSelect::Notify(const QString& command) {
    if (m_pDlg)
        m_pDlg->OnCommand(command, skin::PackedDate(SelectedDate()));
}

void CSkinDateSelect::Select(const QDate& date) {
    m_day = date.day();
    m_month = date.month();
    m_year = date.year();
    Redraw();
    // A copy: the dialog may remove the calendar while it handles the command.
    const QString command = m_command;
    Notify(command);
}

void CSkinDateSelect::SetMonth(int month) {
    if (month < 1 || month > 12)
        return;
    const int length = QDate(m_year, month, 1).daysInMonth();
    Select(QDate(m_year, month, qMin(m_day, length)));
}

void CSkinDateSelect::Draw(plat::DeviceContext& dc, int x, int y, bool /*full*/) {
    if (m_width != kWidth || m_height != kHeight)
        SetPosition(-1, -1, kWidth, kHeight, 0);
    dc.fillSolidRect(plat::Rect::fromXywh(x, y, kWidth, kTitleHeight), kTitleBand);
    dc.fillSolidRect(plat::Rect::fromXywh(x, y + kTitleHeight, kWidth, kHeight - kTitleHeight), kBody);
    const plat::Font* previousFont = dc.selectFont(&m_fontBold);
    const plat::ColorRef previousColor = dc.setTextColor(kWhite);
    plat::Rect title = kTitleText.translated(x, y);
    dc.drawText(m_monthNames[size_t(m_month - 1)] + u' ' + number_text::FormatInt(m_year), title, kCentred);

    dc.selectFont(&m_font);
    dc.setTextColor(kDayNameColor);
    for (int column = 0; column < kColumns; ++column) {
        const int left = x + kGridLeft + column * kCellWidth;
        plat::Rect cell{left, y + kDayNamesTop, left + kCellWidth, y + kDayNamesBottom};
        dc.drawText(ShownDayName(column), cell, kCentred);
    }
    dc.setPen(kWhite, 1);
    dc.moveTo(x + 18, y + 44);
    dc.lineTo(x + 18 + 160, y + 44);

    const QDate first = FirstShownDay();
    if (first.addDays(-1) != m_dayBeforeFirstShown) {
        m_dayBeforeFirstShown = first.addDays(-1);
        // Asked before the days are drawn, so bold days the owner marks now show in this paint.
        const QString command = m_command + skin::cmd::kRecalculateBolds;
        Notify(command);
    }
    const QDate monthStart(m_year, m_month, 1);
    const QDate nextMonthStart = monthStart.addMonths(1);
    const QDate selected = SelectedDate();
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const QDate day = first.addDays(row * kColumns + column);
            plat::Rect cell = plat::Rect::fromXywh(x + kGridLeft + column * kCellWidth,
                                                   y + kGridTop + row * kCellHeight, kCellWidth, kCellHeight);
            if (day == selected)
                dc.fillSolidRect(cell, kSelectedCell);
            const bool inMonth = day >= monthStart && day < nextMonthStart;
            dc.selectFont(m_bold[size_t(column * kRows + row)] ? &m_fontBold : &m_font);
            dc.setTextColor(inMonth ? kWhite : kBlack);
            dc.drawText(number_text::FormatInt(day.day()), cell, kCentred);
        }
    }
    dc.setTextColor(previousColor);
    dc.selectFont(previousFont);
}

bool CSkinDateSelect::OnMouse(int x, int y, int state) {
    if (CSkinElement::OnMouse(x, y, state))
        return true;
    const bool clicked = m_buttonDown && state == skin::kMouseMove && x >= kClickArea.left &&
                         x < kClickArea.right && y >= kClickArea.top && y < kClickArea.bottom;
    // A right-button release is not a press of the calendar's own.
    m_buttonDown = state == skin::kMouseHeld || state == skin::kMouseReleased;
    if (clicked) {
        const int column = (x - kGridLeft) / kCellWidth;
        const int row = (y - kGridTop) / kCellHeight;
        Select(FirstShownDay().addDays(row * kColumns + column));
    }
    return false;
}

void CSkinDateSelect::OnMouseLeave() {
    // A press that left the calendar is not completed by coming back later.
    m_buttonDown = false;
    CSkinElement::OnMouseLeave();
}

void CSkinDateSelect::OnRightClick(int x, int y) {
    std::vector<skin::ContextMenuItem> months;
    months.reserve(m_monthNames.size());
    for (size_t m = 0; m < m_monthNames.size(); ++m)
        months.push_back({m_monthNames[m], m_command + number_text::FormatInt(qint64(m) + 1), 0});
    skin::RunContextMenu(*this, x, y + 15, months);
}
