#include "tests/projects/sites_kind_test.h"

namespace projtest {

void SitesKindTest::SetUp() {
    KindTest::SetUp();
    m_sites.ServeServices(m_server);
}

const CProject6_Site* SitesKindTest::SiteOf(const CProject6& project, char name) const {
    const int index = IndexOf(project, name);
    return index < 0 ? nullptr : &project.Sites()[size_t(index)];
}

int SitesKindTest::IndexOf(const CProject6& project, char name) const {
    const QString site = QString::fromStdString(m_sites.Host(name));
    for (size_t i = 0; i < project.Sites().size(); ++i)
        if (project.Sites()[i].site == site)
            return int(i);
    return -1;
}

} // namespace projtest
