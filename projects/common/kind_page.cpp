#include "projects/common/kind_page.h"

CKindPage::CKindPage(int kind) : m_bar(kind), m_panes(kind) {}

void CKindPage::Create(CSkinDlgHolder* holder, unsigned* nextId, const QString& keywords, CKindReport* upper,
                       CKindReport* lower, int top, int left) {
    m_bar.Create(holder, nextId, keywords);
    m_panes.Create(holder, nextId, top, upper, lower, left);
    m_reports = {upper};
    if (lower)
        m_reports.push_back(lower);
    m_created = true;
}

void CKindPage::SetVisible(bool visible) {
    if (!m_created)
        return;
    m_bar.SetVisible(visible);
    m_panes.SetVisible(visible);
}

CKindPage::Command CKindPage::OnCommand(const QString& command, int param) {
    if (m_bar.IsStartCommand(command))
        return Command::Start;
    if (m_bar.IsStopCommand(command))
        return Command::Stop;
    if (!m_created)
        return Command::None;
    if (m_bar.IsFailuresCommand(command)) {
        m_bar.ShowFailures();
        return Command::Handled;
    }
    if (m_panes.OnCommand(command, param))
        return Command::Handled;
    for (CKindReport* report : m_reports)
        if (report->OnCommand(command, param))
            return Command::Handled;
    return Command::None;
}
