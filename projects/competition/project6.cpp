#include "projects/competition/project6.h"

using namespace Qt::StringLiterals;

CProject6::CProject6(int id) : CProject(id) {
    m_kind = 6;
}

void CProject6::InitInfo() {
    m_name = u"Placement Scout"_s;
    m_description =
        u"Finds sites that show content ads for a keyword, with their page rank and traffic rank."_s;
}

void CProject6::CreateView(CSkinDlgHolder* holder, unsigned* nextId) {
    m_viewTitle.CreateInView(holder, nextId, m_name);
    m_viewCreated = true;
}

void CProject6::ShowView(int show) {
    m_viewTitle.SetVisible(show == kShowView);
}
