#include "projects/competition/project4.h"

using namespace Qt::StringLiterals;

CProject4::CProject4(int id) : CKeywordInputProject(id, 4, CWizardKeywordInput::Mode::List) {}

void CProject4::InitInfo() {
    m_name = u"Rank Summit"_s;
    m_description =
        u"Organic competition per keyword: search volume, top sites per engine, on-page analysis and a competition-strength score from 0 to 100."_s;
}
