#include "projects/competition/project6.h"

using namespace Qt::StringLiterals;

CProject6::CProject6(int id) : CProject6(id, 6) {}

CProject6::CProject6(int id, int kind) : CKeywordInputProject(id, kind, CWizardKeywordInput::Mode::List) {}

void CProject6::InitInfo() {
    m_name = u"Placement Scout"_s;
    m_description =
        u"Finds sites that show content ads for a keyword, with their page rank and traffic rank."_s;
}
