#include "projects/competition/project4.h"

using namespace Qt::StringLiterals;

CProject4::CProject4(int id) : CProject(id) {
    m_kind = 4;
}

void CProject4::InitInfo() {
    m_name = u"Rank Summit"_s;
    m_description =
        u"Organic competition per keyword: search volume, top sites per engine, on-page analysis and a competition-strength score from 0 to 100."_s;
}

void CProject4::CreateView(CSkinDlgHolder* holder, unsigned* nextId) {
    m_viewTitle.CreateInView(holder, nextId, m_name);
    m_viewCreated = true;
}

void CProject4::ShowView(int show) {
    m_viewTitle.SetVisible(show == kShowView);
}
