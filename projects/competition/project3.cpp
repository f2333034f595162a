#include "projects/competition/project3.h"

using namespace Qt::StringLiterals;

CProject3::CProject3(int id) : CProject(id) {
    m_kind = 3;
}

void CProject3::InitInfo() {
    m_name = u"Campaign Chronicle"_s;
    m_description = u"The advertisers of one keyword over the last months, with their ads and keywords."_s;
}

void CProject3::CreateView(CSkinDlgHolder* holder, unsigned* nextId) {
    m_viewTitle.CreateInView(holder, nextId, m_name);
    m_viewCreated = true;
}

void CProject3::ShowView(int show) {
    m_viewTitle.SetVisible(show == kShowView);
}
