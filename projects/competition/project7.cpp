#include "projects/competition/project7.h"

using namespace Qt::StringLiterals;

CProject7::CProject7(int id) : CProject6(id, 7) {}

void CProject7::InitInfo() {
    m_name = u"Partner Prospector"_s;
    m_description = u"Finds partner sites with mailing-list sign-up forms for a keyword."_s;
}
