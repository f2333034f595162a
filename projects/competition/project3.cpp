#include "projects/competition/project3.h"

using namespace Qt::StringLiterals;

CProject3::CProject3(int id) : CKeywordInputProject(id, 3, CWizardKeywordInput::Mode::Single) {}

void CProject3::InitInfo() {
    m_name = u"Campaign Chronicle"_s;
    m_description = u"The advertisers of one keyword over the last months, with their ads and keywords."_s;
}
