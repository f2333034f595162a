#include "projects/common/report_panes.h"

#include "skin/commands.h"
#include "skin/skin_dlg_holder.h"
#include "skin/skin_list_box.h"

#include <algorithm>

using namespace Qt::StringLiterals;

CReportPanes::CReportPanes(int kind) : m_command(u"prj"_s + QString::number(kind) + u"_splitter"_s) {}

void CReportPanes::Create(CSkinDlgHolder* holder, unsigned* nextId, int top, CSkinListBox* upper,
                          CSkinListBox* lower, int left) {
    m_holder = holder;
    m_upper = upper;
    m_lower = lower;
    m_top = top;
    m_left = left;
    upper->SetupColumns(holder, ++*nextId);
    if (!lower) {
        holder->SetResizeRule(upper, left, top, -(left + kLeft), -(top + kBottomMargin));
        return;
    }
    lower->SetupColumns(holder, ++*nextId);
    m_splitter.m_marginBefore = left - 3;
    m_splitter.m_marginAfter = kLeft;
    const int gap = CSkinDlgSplitter::kThickness / 2;
    m_splitter.Create(
        holder, ++*nextId, CSkinDlgSplitter::kHorizontal, top + upper->HeightForRows(kMinRows) + gap,
        kBottomMargin + lower->HeightForRows(kMinRows) + gap, top + AvailableHeight() / 2, m_command, 0);
    Place(m_splitter.m_position);
}

int CReportPanes::AvailableHeight() const {
    return std::max(0, m_holder->m_height - m_top - kBottomMargin);
}

void CReportPanes::Place(int position) {
    m_splitter.Place(position);
    const int border = m_splitter.m_position;
    const int gap = CSkinDlgSplitter::kThickness / 2;
    m_holder->SetResizeRule(m_upper, m_left, m_top, -(m_left + kLeft), std::max(0, border - gap - m_top));
    m_holder->SetResizeRule(m_lower, m_left, border + gap, -(m_left + kLeft),
                            -(border + gap + kBottomMargin));
    const int available = AvailableHeight();
    if (available > 0)
        m_share = std::clamp(double(border - m_top) / available, 0.0, 1.0);
}

void CReportPanes::SetVisible(bool visible) {
    if (m_upper)
        m_upper->SetVisible(visible);
    if (m_lower) {
        m_lower->SetVisible(visible);
        m_splitter.SetVisible(visible);
    }
}

bool CReportPanes::OnCommand(const QString& command, int param) {
    if (!m_lower)
        return command == skin::cmd::kMainDlgOnSize;
    if (command == m_command) {
        Place(param);
        return true;
    }
    if (command == skin::cmd::kMainDlgOnSize) {
        // Place keeps the share the user gave the upper grid: it is read before placing changes it.
        const double share = m_share;
        Place(m_top + int(share * AvailableHeight()));
        m_share = share;
        return true;
    }
    return false;
}
