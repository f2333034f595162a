#include "net/crawler.h"
#include "net/downloader.h"
#include "parsers/finished_reply.h"
#include "projects/common/ad_text.h"
#include "projects/common/kind_report.h"
#include "projects/common/service_step.h"
#include "skin/skin_dlg_holder.h"
#include "tests/projects/kind_test.h"
#include "tests/support/qstring_printer.h"

#include <QThread>

using namespace Qt::StringLiterals;

namespace {

class SharedPieces : public projtest::KindTest {};

// A keyword report as the kinds build theirs, over plain keywords with a count.
class KeywordReport : public CKindReport {
  public:
    KeywordReport() : CKindReport(2, 0) {
        SetTextKey(
            0, [this](int item) -> const QString& { return rows[size_t(item)].first; });
    }
    void SetupColumns(CSkinDlgHolder* holder, unsigned id) override {
        CKindReport::SetupColumns(holder, id);
        AddColumn(0, u"Keyword"_s, 200, 1);
        AddColumn(1, u"Searches"_s, 80, 3);
    }
    void UpdateItemCount() override {
        m_itemCount = int(rows.size());
        CKindReport::UpdateItemCount();
    }
    int CompareItems(int a, int b) override { return CompareByKey(a, b).value_or(0); }
    void GetItemText(CSkinListBox_Line& line) override {
        AddTextCell(line, rows[size_t(line.item)].first, 0);
        AddNumberCell(line, IntText(rows[size_t(line.item)].second), 1);
        FinishLine(line);
    }
    QString ItemKeyword(int item) const override { return rows[size_t(item)].first; }
    std::vector<std::pair<QString, int>> rows;
};

} // namespace

// One request at a time: the step waits for its reply, hands it over, reports a cut-off exchange with its
// error, and never keeps a slot once released or destroyed.
TEST_F(SharedPieces, ServiceStepCarriesOneRequestAtATime) {
    m_server.Serve(Endpoint::GoogleWeb, "/search", {"q=red shoes"},
                   twtest::HttpReply::Page("<p>red page</p>"));
    CProjectCrawler& crawler = *g_pCrawler;
    // Without the project tick, which would hand the slots to the projects it steps.
    const auto waitFor = [](const std::function<bool()>& done) {
        for (int i = 0; i < 2000 && !done(); ++i)
            QThread::msleep(5);
        return done();
    };
    crawler.SetCurrentJob(77);
    const auto start = [](const QString& url) { return [url](CDownloader& d) { return d.Start(url); }; };
    const QString url = endpoints::Url(Endpoint::GoogleWeb, u"/search?q=red+shoes"_s);
    {
        CServiceStep step;
        CServiceStep::Result result = step.Run(u"Google"_s, start(url));
        EXPECT_EQ(result, CServiceStep::Result::Waiting);
        EXPECT_EQ(crawler.CountJobDownloaders(77), 1);
        ASSERT_TRUE(waitFor(
            [&] { return (result = step.Run(u"Google"_s, start(url))) != CServiceStep::Result::Waiting; }));
        ASSERT_EQ(result, CServiceStep::Result::Done);
        EXPECT_TRUE(FinishedBody(*step.Downloader()).contains(u"red page"_s));
        step.Release();
        EXPECT_EQ(crawler.CountJobDownloaders(77), 0);

        m_server.Fail(Endpoint::GoogleWeb);
        ASSERT_TRUE(waitFor(
            [&] { return (result = step.Run(u"Google"_s, start(url))) != CServiceStep::Result::Waiting; }));
        EXPECT_EQ(result, CServiceStep::Result::Failed);
        EXPECT_FALSE(step.Error().isEmpty());
        EXPECT_EQ(crawler.CountJobDownloaders(77), 1) << "the owner releases after reading the failure";
    }
    EXPECT_EQ(crawler.CountJobDownloaders(77), 0) << "the destructor gave the slot back";
    crawler.SetCurrentJob(-1);
}

// The report sorts on the keys its columns give; the context menu copies the selected visible rows and
// sends their keywords to every other kind that takes keywords (kind 3 only the first).
TEST_F(SharedPieces, ReportMenuCopiesAndSendsTheSelectedKeywords) {
    KeywordReport report;
    report.SetupColumns(&Window().dlg.m_rootHolder, 900);
    report.rows = {{u"red shoes"_s, 1200}, {u"blue shoes"_s, -2}, {u"green shoes"_s, 30}};
    report.m_sortColumn = 0;
    report.m_sortDirection = 1;
    report.InvalidateContent();
    report.UpdateItemCount();
    EXPECT_EQ(report.VisibleRowsText(), u"red shoes\t1,200\r\ngreen shoes\t30\r\nblue shoes\tNo Data\r\n"_s);
    report.SelectRange(0, 1);
    EXPECT_EQ(report.SelectedRowsText(), u"red shoes\t1,200\r\nblue shoes\tNo Data\r\n"_s);

    const std::vector<skin::ContextMenuItem> items = report.ContextMenuItems();
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items[0].text, u"Copy"_s);
    EXPECT_EQ(items[1].text, u"Send to "_s + KindName(1));
    EXPECT_EQ(items[1].command, u"new_project1red shoes;blue shoes;"_s);
    EXPECT_EQ(items[2].command, u"new_project3red shoes;"_s);
    for (const auto& item : items)
        EXPECT_FALSE(item.command.startsWith(u"new_project2"_s) ||
                     item.command.startsWith(u"new_project5"_s));

    EXPECT_TRUE(report.OnCommand(report.CopyCommand(), 0));
    EXPECT_FALSE(report.OnCommand(report.CopyCommand(), 1)) << "another report's copy";
    report.SelectRange(2, 2);
    EXPECT_EQ(report.SelectedRowsText(), u"green shoes\t30\r\n"_s);
    report.Detach();
}

// The ad-text column of kinds 3 and 8 sorts as its one-line texts compare ignoring case, every pair both
// ways, though the sort never builds them.
TEST(AdTextOrder, SortsAsTheOneLineTextsIgnoringCase) {
    const QStringList bodies = {
        u""_s,          u"   "_s,           u"Big Sale"_s,      u"  big\t sale \r\n"_s,
        u"big sale!"_s, u"big  sale now"_s, u"BIG\nSALE"_s,     u"bigsale"_s,
        u"big"_s,       u"\u00C4pfel  x"_s, u"\u00E4PFEL x "_s, u" a\u3000b"_s,
        u"a b"_s,       u"x\U00010400 y"_s, u"X\U00010428  Y"_s};
    for (const QString& a : bodies)
        for (const QString& b : bodies) {
            CDownloader_Parsers_SE_result x;
            CDownloader_Parsers_SE_result y;
            x.body = a;
            y.body = b;
            const int expected = AdTextOneLine(x).compare(AdTextOneLine(y), Qt::CaseInsensitive);
            const int order = CompareAdTextsOneLine(x, y);
            EXPECT_EQ(order < 0, expected < 0) << a.toStdString() << " / " << b.toStdString();
            EXPECT_EQ(order == 0, expected == 0) << a.toStdString() << " / " << b.toStdString();
        }
}
