#pragma once

#include "projects/kind6/project6.h"
#include "tests/projects/kind_test.h"
#include "tests/projects/project6_sites.h"

namespace projtest {

// The ground of the tests of kinds 6 and 7: a kind test with the sites and the services serving.
class SitesKindTest : public KindTest {
  protected:
    void SetUp() override;

    // The record of site name (A to F) in the project, or null.
    const CProject6_Site* SiteOf(const CProject6& project, char name) const;
    int IndexOf(const CProject6& project, char name) const;

    Project6Sites m_sites;
};

} // namespace projtest
