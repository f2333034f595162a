#include "projects/keyword/project2.h"

using namespace Qt::StringLiterals;

CProject2::CProject2(int id) : CProject(id) {
    m_kind = 2;
}

void CProject2::InitInfo() {
    m_name = u"Niche Lantern"_s;
    m_description =
        u"Pay-per-click market research per keyword: search volume, result counts, ads, bids and estimated clicks on three search engines."_s;
}

void CProject2::CreateView(CSkinDlgHolder* holder, unsigned* nextId) {
    m_viewTitle.CreateInView(holder, nextId, m_name);
    m_viewCreated = true;
}

void CProject2::ShowView(int show) {
    m_viewTitle.SetVisible(show == kShowView);
}
