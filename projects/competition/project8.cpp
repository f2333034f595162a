#include "projects/competition/project8.h"

using namespace Qt::StringLiterals;

CProject8::CProject8(int id) : CKeywordInputProject(id, 8, CWizardKeywordInput::Mode::List) {}

void CProject8::InitInfo() {
    m_name = u"Offer Compass"_s;
    m_description = u"Searches CPA and affiliate offers for a keyword."_s;
}

bool CProject8::CanSave() {
    return m_searchStep >= 2;
}
