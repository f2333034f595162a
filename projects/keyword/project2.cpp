#include "projects/keyword/project2.h"

using namespace Qt::StringLiterals;

CProject2::CProject2(int id) : CKeywordInputProject(id, 2, CWizardKeywordInput::Mode::List) {}

void CProject2::InitInfo() {
    m_name = u"Niche Lantern"_s;
    m_description =
        u"Pay-per-click market research per keyword: search volume, result counts, ads, bids and estimated clicks on three search engines."_s;
}
