#include "core/headless_platform_services.h"
#include "projects/kind7/project7.h"
#include "tests/projects/sites_kind_test.h"
#include "tests/support/qstring_printer.h"

using namespace Qt::StringLiterals;

namespace {

class Project7Test : public projtest::SitesKindTest {
  protected:
    void SetUp() override {
        SitesKindTest::SetUp();
        DefaultPlatformServices().Clear();
    }
};

} // namespace

// Kind 6's road with the sign-up form test: form actions made absolute, a sign-in form passed over, its own
// button, the page slider, save, open and export.
TEST_F(Project7Test, FindsSignUpFormsFromWizardToExport) {
    auto* project = dynamic_cast<CProject7*>(NewProject(7, u"garden gnomes;"_s));
    ASSERT_NE(project, nullptr);
    ASSERT_TRUE(TickUntil([&] { return !project->IsRunning(); }));

    const CProject6_Site* siteC = SiteOf(*project, 'C');
    ASSERT_TRUE(SiteOf(*project, 'A') && siteC && SiteOf(*project, 'B'));
    EXPECT_EQ(SiteOf(*project, 'B')->test, CProject6_Site::kNotFound) << "a sign-in form is no sign-up";
    EXPECT_EQ(project->Report().VisibleCount(), 5);
    EXPECT_EQ(m_server.CountRequests(Endpoint::GoogleToolbar), 2);

    // The page's own button opens the one selected site, and asks for one otherwise.
    project->Report().SelectRange(IndexOf(*project, 'C'), IndexOf(*project, 'C'));
    project->OnCommand(CProject7::kVisitCommand, 0, &Window().dlg);
    EXPECT_EQ(DefaultPlatformServices().OpenedUrls(), QStringList{siteC->url});
    project->Report().SelectRange(0, -1);
    project->OnCommand(CProject7::kVisitCommand, 0, &Window().dlg);
    ASSERT_FALSE(Window().script.messages.empty());
    EXPECT_EQ(Window().script.messages.back().text, CProject7::kSelectOne);

    const std::vector<CProject6_Site> sites = project->Sites();
    auto* opened = dynamic_cast<CProject7*>(ExpectReopensAsShown(u"partners.twpx"_s));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->Sites(), sites);
    ExpectSameAsDataFile(m_sites.Mask(ExportCurrent(u"partners.csv"_s)), u"kind7/expected.csv"_s);
    ExpectSameAsDataFile(m_sites.Mask(ExportCurrent(u"partners.htm"_s)), u"kind7/expected.htm"_s);

    // A finished run starts anew with the slider's page count: one page finds A, B and C again.
    const int searches = m_server.CountRequests(Endpoint::GoogleWeb);
    opened->PagesSlider().m_position = 1;
    opened->OnCommand(u"prj7_start"_s, 0, nullptr);
    ASSERT_TRUE(TickUntil([&] { return !opened->IsRunning(); }));
    EXPECT_EQ(m_server.CountRequests(Endpoint::GoogleWeb), searches + 1);
    EXPECT_EQ(opened->Sites().size(), 3u);
}
