#include "projects/keyword/project1.h"

using namespace Qt::StringLiterals;

CProject1::CProject1(int id) : CProject(id) {
    m_kind = 1;
}

void CProject1::InitInfo() {
    m_name = u"Lexicon Tide"_s;
    m_description =
        u"Builds keyword lists from a keyword and many sources, expands them, measures search volume and groups keywords into ad groups."_s;
}

void CProject1::CreateView(CSkinDlgHolder* holder, unsigned* nextId) {
    m_viewTitle.CreateInView(holder, nextId, m_name);
    m_viewCreated = true;
}

void CProject1::ShowView(int show) {
    m_viewTitle.SetVisible(show == kShowView);
}

bool CProject1::CanSave() {
    return !m_busy;
}
