#include "skin/skin_list_box_filter_dlg.h"

#include "core/number_text.h"
#include "core/string_list.h"
#include "platform/screens.h"
#include "skin/commands.h"
#include "skin/folded_string_set.h"
#include "skin/host_window.h"
#include "skin/skin_constants.h"
#include "skin/skin_list_box.h"

#include <algorithm>
#include <initializer_list>
#include <type_traits>

using namespace Qt::StringLiterals;
namespace cmd = skin::cmd;

namespace {

// Below the title bar; the rest is measured from there.
constexpr int kTop = 30;
constexpr int kLeft = 14;
constexpr int kInnerWidth = CSkinListBox_FilterDlg::kWidth - 2 * kLeft;
constexpr int kContentTop = kTop + 44;
// From a label down to the control it names.
constexpr int kLabelGap = 22;
constexpr int kPatternHeight = 100;
constexpr int kListHeight = 250;
constexpr int kFirstValueY = 37;
constexpr int kValuePitch = 27;
constexpr int kFieldHeight = 25;
constexpr int kPopupHeight = 200;
constexpr int kRangeEditX = 84;
constexpr int kRangeRowPitch = 35;
// The bottom band with OK and Cancel.
constexpr int kBand = 55;
constexpr int kButtonWidth = 90;
constexpr int kButtonGap = 15;
// A value check box's parameter: a click on one is always a change.
constexpr int kValueParam = 1;

const QString kLineBreaks = u"\r\n"_s;

// The range edits start empty while the range is still the same value at both ends.
template <class T> QString RangeText(T value, T other) {
    if (value == other)
        return QString();
    if constexpr (std::is_same_v<T, int>)
        return number_text::FormatInt(value);
    else
        return number_text::FormatFixed(value, 2);
}

// Reads the two range fields as scanf does, each a default of 0 and 100 where it holds no number; a field
// without one switches the filter off.
template <class T>
void ReadRange(const CSkinEdit& first, const CSkinEdit& second,
               std::optional<T> (*read)(QStringView, qsizetype*), T& min, T& max, bool& on) {
    const std::optional<T> low = read(first.GetText(), nullptr);
    const std::optional<T> high = read(second.GetText(), nullptr);
    min = low.value_or(T(0));
    max = high.value_or(T(100));
    on = on && low && high;
}

} // namespace

CSkinListBox_FilterDlg::CSkinListBox_FilterDlg(CSkinDlg_Base* parent, CSkinListBox* grid, int x, int y)
    : CSkinDlg(parent), m_pGrid(grid) {
    m_width = kWidth;
    m_height = 500;
    m_minWidth = kWidth;
    m_maximizable = false;
    m_minimizable = false;
    m_keepPosition = true;
    plat::Point at{x, y};
    if (grid) {
        const plat::Point grid0 = grid->GetDialogPos();
        at = {grid0.x + x, grid0.y + y};
    }
    m_screenPos = parent ? skin::HostWindow(*parent).clientToScreen(at) : at;
}

CSkinListBox_FilterDlg::~CSkinListBox_FilterDlg() = default;

CSkinListBox_Column* CSkinListBox_FilterDlg::Column() const {
    auto* grid = static_cast<CSkinListBox*>(m_pGrid.Get());
    if (!grid || m_columnIndex < 0 || static_cast<std::size_t>(m_columnIndex) >= grid->m_columns.size())
        return nullptr;
    return &grid->m_columns[static_cast<std::size_t>(m_columnIndex)];
}

void CSkinListBox_FilterDlg::CreateElements() {
    CSkinListBox_Column* column = Column();
    if (!column) {
        EndSkinDialog(skin::kResultCancel);
        return;
    }
    QStringList labels;
    static_cast<CSkinListBox*>(m_pGrid.Get())->GetFilterInfo(column, labels);
    // The report may have changed its columns while it answered.
    column = Column();
    if (!column) {
        EndSkinDialog(skin::kResultCancel);
        return;
    }
    m_enableCheck.Create(&m_rootHolder, ++m_nextElementId, u"Filtering is enabled for this column"_s);
    m_enableCheck.SetStyle(1);
    m_enableCheck.m_checked = column->filterOn;
    m_enableCheck.SetPosition(kLeft, kTop + 7, 0, 0);

    int bottom = kContentTop;
    switch (column->filterType) {
    case CSkinListBox_Column::kFilterIncludeExclude:
        bottom = CreatePatternEdits(labels, kContentTop);
        break;
    case CSkinListBox_Column::kFilterExactValues:
    case CSkinListBox_Column::kFilterContainedValues:
        bottom = CreateCheckList(labels, kContentTop);
        break;
    case CSkinListBox_Column::kFilterOneValue:
    case CSkinListBox_Column::kFilterOneValueContains:
        bottom = CreateValueList(labels, kContentTop);
        break;
    case CSkinListBox_Column::kFilterIntRange:
    case CSkinListBox_Column::kFilterFloatRange:
        bottom = CreateRangeEdits(kContentTop);
        break;
    default:
        break;
    }

    m_height = bottom + kBand;
    const int buttonTop = bottom + (kBand - skin::kButtonHeight) / 2;
    const int cancelLeft = m_width - kButtonGap - kButtonWidth;
    m_ok.Create(&m_rootHolder, ++m_nextElementId, u"OK"_s, cmd::kOk);
    m_ok.SetPosition(cancelLeft - kButtonGap - kButtonWidth, buttonTop, kButtonWidth, skin::kButtonHeight);
    m_cancel.Create(&m_rootHolder, ++m_nextElementId, u"Cancel"_s, cmd::kDefaultCancel);
    m_cancel.SetPosition(cancelLeft, buttonTop, kButtonWidth, skin::kButtonHeight);

    m_openedText1 = m_edit1.GetText();
    m_openedText2 = m_edit2.GetText();
    m_openedSelection = m_dropList.GetCurSel();
    // Under a grid low on the screen the dialog rises, so that its buttons stay within reach.
    const plat::Rect area = plat::AvailableRectAt(m_screenPos);
    const int top = qMax(area.top, qMin(m_screenPos.y, area.bottom - m_height));
    move(qMax(0, m_screenPos.x - m_width), top);
}

void CSkinListBox_FilterDlg::CreateLabel(int index, const QString& text, int x, int y) {
    CSkinLabel& label = m_labels[static_cast<std::size_t>(index)];
    label.CreateLabel(&m_rootHolder, ++m_nextElementId, text, x, y);
    label.SetFont(&m_font);
}

int CSkinListBox_FilterDlg::CreatePatternEdits(const QStringList& labels, int y) {
    const CSkinListBox_Column& column = *Column();
    CreateLabel(0, labels.value(0), kLeft, y);
    m_edit1.Create(&m_rootHolder, ++m_nextElementId, column.filterText, true, false, cmd::kEnableFilter,
                   QString());
    m_edit1.SetPosition(kLeft, y + kLabelGap, kInnerWidth, kPatternHeight);
    const int second = m_edit1.m_bottom + 15;
    CreateLabel(1, labels.value(1), kLeft, second);
    m_edit2.Create(&m_rootHolder, ++m_nextElementId, column.filterText2, true, false, cmd::kEnableFilter,
                   QString());
    m_edit2.SetPosition(kLeft, second + kLabelGap, kInnerWidth, kPatternHeight);
    return m_edit2.m_bottom;
}

int CSkinListBox_FilterDlg::CreateCheckList(const QStringList& labels, int y) {
    const CSkinListBox_Column& column = *Column();
    CreateLabel(0, labels.value(0), kLeft, y);
    m_checkHolder.Create(&m_rootHolder, ++m_nextElementId);
    m_checkHolder.SetPosition(kLeft, y + kLabelGap, kInnerWidth, kListHeight);
    const QStringList& offered = column.values2;
    // A filter that is off shows every value ticked.
    const bool all = !column.filterOn;
    const skin::FoldedStringSet ticked =
        all ? skin::FoldedStringSet() : skin::FoldedStringSet(column.values.begin(), column.values.end());
    m_showAll.Create(&m_checkHolder, ++m_nextElementId, u"Show All"_s, cmd::kFilterCheckAll);
    m_showAll.SetStyle(1);
    m_showAll.m_checked = all || column.values.size() == offered.size();
    for (qsizetype i = 0; i < offered.size(); ++i) {
        CSkinRadio& check = m_valueChecks.emplace_back();
        check.Create(&m_checkHolder, ++m_nextElementId, offered[i], cmd::kEnableFilter, kValueParam);
        check.SetStyle(1);
        check.m_checked = all || ticked.Contains(offered[i]);
        check.SetPosition(0, kFirstValueY + kValuePitch * static_cast<int>(i), 0, 0);
    }
    return m_checkHolder.m_bottom;
}

int CSkinListBox_FilterDlg::CreateValueList(const QStringList& labels, int y) {
    const CSkinListBox_Column& column = *Column();
    CreateLabel(0, labels.value(0), kLeft, y);
    m_dropList.Create(&m_rootHolder, ++m_nextElementId, QString(), false, cmd::kEnableFilter);
    m_dropList.m_popupHeight = kPopupHeight;
    m_dropList.AddItem(u"Show All"_s, -1);
    m_dropList.AddItem(u"-------------------------"_s, -2);
    int selected = 0;
    for (qsizetype i = 0; i < column.values2.size(); ++i) {
        m_dropList.AddItem(column.values2[i], static_cast<int>(i));
        if (selected == 0 && column.values2[i].compare(column.filterText, Qt::CaseInsensitive) == 0)
            selected = m_dropList.GetCount() - 1;
    }
    m_dropList.SetCurSel(selected, true);
    m_dropList.SetPosition(kLeft, y + kLabelGap, kInnerWidth, kFieldHeight);
    int bottom = m_dropList.m_bottom;
    if (column.filterType == CSkinListBox_Column::kFilterOneValueContains) {
        m_containsCheck.Create(&m_rootHolder, ++m_nextElementId, labels.value(1));
        m_containsCheck.SetStyle(1);
        // The option is kept in filter text 2, where the text test reads it.
        m_containsCheck.m_checked = column.filterText2 == "1"_L1;
        m_containsCheck.SetPosition(kLeft, bottom + 10, 0, 0);
        bottom = m_containsCheck.m_bottom;
    }
    return bottom;
}

int CSkinListBox_FilterDlg::CreateRangeEdits(int y) {
    const CSkinListBox_Column& column = *Column();
    const bool integers = column.filterType == CSkinListBox_Column::kFilterIntRange;
    const int editWidth = integers ? 60 : 90;
    const int hintX = integers ? 154 : 184;
    const QString minText =
        integers ? RangeText(column.intMin, column.intMax) : RangeText(column.floatMin, column.floatMax);
    const QString maxText =
        integers ? RangeText(column.intMax, column.intMin) : RangeText(column.floatMax, column.floatMin);
    const QString hints[2] = {column.filterText, column.filterText2};
    CSkinEdit* edits[2] = {&m_edit1, &m_edit2};
    const QString texts[2] = {minText, maxText};
    const QString names[2] = {u"Min value:"_s, u"Max value:"_s};
    int right = 0;
    for (int row = 0; row < 2; ++row) {
        const int top = y + row * kRangeRowPitch;
        const int labelTop = top + 4;
        CreateLabel(2 * row, names[row], kLeft, labelTop);
        edits[row]->Create(&m_rootHolder, ++m_nextElementId, texts[row], false, false, cmd::kEnableFilter,
                           QString());
        edits[row]->SetPosition(kRangeEditX, top, editWidth, kFieldHeight);
        CreateLabel(2 * row + 1, hints[row], hintX, labelTop);
        right = qMax(right, m_labels[static_cast<std::size_t>(2 * row + 1)].m_right);
    }
    m_width = qMax(kWidth, right + 30);
    return m_edit2.m_bottom;
}

void CSkinListBox_FilterDlg::Store(CSkinListBox_Column& column) {
    column.filterOn = m_enableCheck.m_checked;
    switch (column.filterType) {
    case CSkinListBox_Column::kFilterIncludeExclude:
        column.filterText = m_edit1.GetText();
        column.values = SplitString(column.filterText, kLineBreaks, true, true);
        column.filterText2 = m_edit2.GetText();
        column.values2 = SplitString(column.filterText2, kLineBreaks, true, true);
        break;
    case CSkinListBox_Column::kFilterExactValues:
    case CSkinListBox_Column::kFilterContainedValues: {
        QStringList ticked;
        for (const CSkinRadio& check : m_valueChecks)
            if (check.m_checked)
                ticked.append(check.m_caption);
        column.values = ticked;
        break;
    }
    case CSkinListBox_Column::kFilterOneValue:
    case CSkinListBox_Column::kFilterOneValueContains: {
        const int selected = m_dropList.GetCurSel();
        if (selected < 0 || m_dropList.GetItemData(selected) < 0) {
            column.filterOn = false;
            column.filterText.clear();
            column.filterText2.clear();
        } else {
            column.filterText = m_dropList.GetItemText(selected);
            column.filterText2 = m_containsCheck.m_checked ? u"1"_s : QString();
        }
        break;
    }
    case CSkinListBox_Column::kFilterIntRange:
        ReadRange(m_edit1, m_edit2, number_text::ReadInt, column.intMin, column.intMax, column.filterOn);
        break;
    case CSkinListBox_Column::kFilterFloatRange:
        ReadRange(m_edit1, m_edit2, number_text::ReadFloat, column.floatMin, column.floatMax,
                  column.filterOn);
        break;
    default:
        break;
    }
    column.FilterIndex();
}

bool CSkinListBox_FilterDlg::ChangedSinceOpening() const {
    return m_edit1.GetText() != m_openedText1 || m_edit2.GetText() != m_openedText2 ||
           m_dropList.GetCurSel() != m_openedSelection;
}

void CSkinListBox_FilterDlg::EnableFilter() {
    if (!m_enableCheck.m_checked) {
        m_enableCheck.m_checked = true;
        m_enableCheck.Redraw();
    }
}

void CSkinListBox_FilterDlg::OnDialogKillFocus() {
    for (CSkinElement* element : std::initializer_list<CSkinElement*>{&m_edit1, &m_edit2, &m_dropList})
        if (element->GetDialog() == this)
            element->OnKillFocus();
}

bool CSkinListBox_FilterDlg::OnCommand(const QString& command, int param) {
    if (command == cmd::kOk || command == cmd::kDefaultOk) {
        // Enter in a range field ends the dialog as OK does.
        CSkinListBox_Column* column = Column();
        if (column)
            Store(*column);
        EndSkinDialog(column ? skin::kResultOk : skin::kResultCancel);
        return true;
    }
    if (command == cmd::kFilterCheckAll) {
        EnableFilter();
        for (CSkinRadio& check : m_valueChecks)
            check.m_checked = m_showAll.m_checked;
        m_checkHolder.Redraw();
        return true;
    }
    if (command.startsWith(cmd::kEnableFilter)) {
        // A field reports the end of editing with the plain command too: that is a change only when its
        // text changed. Typing and drops are changes, and so is a click on a value.
        const QStringView suffix = QStringView(command).sliced(cmd::kEnableFilter.size());
        if (suffix == cmd::kTypingSuffix || suffix == cmd::kOnPasteSuffix || param == kValueParam ||
            ChangedSinceOpening())
            EnableFilter();
        if (param == kValueParam) {
            // "Show All" says whether every value is ticked.
            m_showAll.m_checked = std::all_of(m_valueChecks.begin(), m_valueChecks.end(),
                                              [](const CSkinRadio& check) { return check.m_checked; });
            m_showAll.Redraw();
        }
        return true;
    }
    return CSkinDlg::OnCommand(command, param);
}
