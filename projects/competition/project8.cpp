#include "projects/competition/project8.h"

using namespace Qt::StringLiterals;

CProject8::CProject8(int id) : CProject(id) {
    m_kind = 8;
}

void CProject8::InitInfo() {
    m_name = u"Offer Compass"_s;
    m_description = u"Searches CPA and affiliate offers for a keyword."_s;
}

void CProject8::CreateView(CSkinDlgHolder* holder, unsigned* nextId) {
    m_viewTitle.CreateInView(holder, nextId, m_name);
    m_viewCreated = true;
}

void CProject8::ShowView(int show) {
    m_viewTitle.SetVisible(show == kShowView);
}

bool CProject8::CanSave() {
    return m_searchStep >= 2;
}
