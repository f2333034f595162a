#include "app/rep_threads.h"
#include "platform/application.h"
#include "tests/app/app_test_support.h"
#include "tests/support/skin_test_support.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QStringList Texts(const CSkinListBox_Line& line) {
    QStringList texts;
    for (const CSkinListBox_Item& cell : line.cells)
        texts << cell.text;
    return texts;
}

} // namespace

// The report shows the crawler's rows in row order, as they are when it is next painted, and reading them
// clears the crawler's changed mark (which tells its owner to invalidate it); a row's colours follow its
// state.
TEST(ThreadsReport, ShowsTheRowsAsTheyAreAtEachPaint) {
    apptest::CrawlerFixture fixture;
    CProjectCrawler& crawler = *fixture.crawler;
    crawler.SetThreadStatus(1, u"b.test"_s, u"GET /two"_s, u"Receiving"_s, 3);
    crawler.SetThreadStatus(0, u"a.test"_s, u"GET /one"_s, u"Connecting"_s, 1);
    skintest::TestDialog dlg;
    CRep_Threads report(crawler);
    dlg.m_width = 500;
    dlg.m_height = 300;
    dlg.build = [&](skintest::TestDialog& d) {
        report.SetupColumns(&d.m_rootHolder, d.m_nextElementId++);
        report.SetPosition(10, 40, 480, 250, CSkinElement::kShowFlag);
    };
    dlg.Open();
    plat::Application::processEvents();
    dlg.RedrawNow();
    EXPECT_FALSE(crawler.ThreadStatusChanged());
    ASSERT_EQ(report.Lines().size(), 2u);
    EXPECT_EQ(Texts(report.Lines()[0]), (QStringList{u"a.test"_s, u"GET /one"_s, u"Connecting"_s}));
    EXPECT_EQ(Texts(report.Lines()[1]), (QStringList{u"b.test"_s, u"GET /two"_s, u"Receiving"_s}));
    EXPECT_NE(report.Lines()[0].background, report.Lines()[1].background);

    crawler.SetThreadStatus(0, std::nullopt, std::nullopt, u"Done"_s, 4);
    crawler.RemoveThreadStatus(1);
    EXPECT_TRUE(crawler.ThreadStatusChanged());
    report.InvalidateContent();
    dlg.RedrawNow();
    ASSERT_EQ(report.Lines().size(), 1u);
    EXPECT_EQ(Texts(report.Lines()[0]), (QStringList{u"a.test"_s, u"GET /one"_s, u"Done"_s}));
    EXPECT_FALSE(crawler.ThreadStatusChanged());
}
