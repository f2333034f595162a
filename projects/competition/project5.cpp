#include "projects/competition/project5.h"

#include "skin/commands.h"
#include "skin/skin_dlg_base.h"
#include "skin/skin_dlg_holder.h"

using namespace Qt::StringLiterals;

CProject5::CProject5(int id) : CProject(id) {
    m_kind = 5;
}

void CProject5::InitInfo() {
    m_name = u"Bid Watchtower"_s;
    m_description =
        u"Scheduled monitoring of keyword and website pairs in the paid ads of three search engines, with a dated history."_s;
}

void CProject5::CreateWizardPage(CSkinDlgHolder* holder, unsigned* /*nextId*/, int /*labelLeft*/,
                                 int /*fieldLeft*/, int /*top*/, int /*width*/, QString /*preset*/) {
    if (holder && holder->m_pDlg)
        holder->m_pDlg->OnCommand(skin::cmd::kDefaultOk, 0);
}

bool CProject5::ValidateWizardPage(QString& /*error*/) {
    return true;
}

void CProject5::CreateView(CSkinDlgHolder* holder, unsigned* nextId) {
    m_viewTitle.CreateInView(holder, nextId, m_name);
    if (holder->m_pDlg)
        holder->m_pDlg->m_minimizeToTray = true;
    m_viewCreated = true;
}

void CProject5::ShowView(int show) {
    m_viewTitle.SetVisible(show == kShowView);
}
