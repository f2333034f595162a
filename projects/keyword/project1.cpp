#include "projects/keyword/project1.h"

using namespace Qt::StringLiterals;

CProject1::CProject1(int id) : CKeywordInputProject(id, 1, CWizardKeywordInput::Mode::List) {}

void CProject1::InitInfo() {
    m_name = u"Lexicon Tide"_s;
    m_description =
        u"Builds keyword lists from a keyword and many sources, expands them, measures search volume and groups keywords into ad groups."_s;
}

bool CProject1::CanSave() {
    return !m_busy;
}
