#include "app/project_exporter_csv.h"
#include "app/project_exporter_html.h"
#include "core/atomic_file.h"
#include "tests/app/export_report.h"
#include "tests/app/file_size_limit.h"
#include "tests/skin/skin_test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QByteArray Expected(const QString& name) {
    QByteArray bytes;
    EXPECT_TRUE(ReadWholeFile(QStringLiteral(TW_APP_TEST_DATA_DIR "/") + name, bytes)) << name.toStdString();
    return bytes;
}

QByteArray Written(const QString& path) {
    QByteArray bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes)) << path.toStdString();
    return bytes;
}

struct Grid {
    Grid() {
        report.SetupColumns(&page.dlg.m_rootHolder, 7);
        report.Fill();
    }
    skintest::UnshownDialog page;
    apptest::ExportReport report;
};

// Both writers over the same grid: what it shows (filtered row gone, the sort kept, the row-wide message
// in its first column, the unexported column left out), twice, as two tables one after the other.
TEST(ReportExport, WritesWhatTheGridShowsByteForByte) {
    QTemporaryDir dir;
    Grid grid;
    const std::pair<std::unique_ptr<CProjectExporter>, QString> cases[] = {
        {std::make_unique<CProjectExporter_HTML>(), u"report.htm"_s},
        {std::make_unique<CProjectExporter_CSV>(), u"report.csv"_s},
    };
    for (const auto& [exporter, name] : cases) {
        const QString path = dir.filePath(name);
        ASSERT_TRUE(exporter->Open(path));
        exporter->ExportReport(grid.report, 100);
        exporter->ExportReport(grid.report, 100);
        ASSERT_TRUE(exporter->Close());
        EXPECT_EQ(Written(path), Expected(u"expected_"_s + name)) << name.toStdString();
    }
}

TEST(ReportExport, AnEmptyOrFullyFilteredGridGivesTheHeaderRowOnly) {
    QTemporaryDir dir;
    Grid grid;
    grid.report.m_columns[skintest::RecordReport::kVolume].intMax = 1;
    grid.report.InvalidateContent();
    const QString path = dir.filePath(u"empty.csv"_s);
    CProjectExporter_CSV csv;
    ASSERT_TRUE(csv.Open(path));
    csv.ExportReport(grid.report, 100);
    ASSERT_TRUE(csv.Close());
    EXPECT_EQ(Written(path), "\"Volume\",\"CPC (USD)\",\"Keyword\",\r\n\r\n");
}

// Tables inside tables keep their own row shading; titles only stand outside tables; links keep a quote in
// their address from ending the attribute; a table left open is ended by Close.
TEST(ReportExport, HtmlNestingTitlesAndLinks) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"nested.html"_s);
    CProjectExporter_HTML html;
    ASSERT_TRUE(html.Open(path));
    html.Title(u"Report <1> & co"_s, 0);
    html.BeginTable(true, 50);
    html.Title(u"inside"_s, 3);
    html.BeginRow(false);
    html.LinkCell(u"site"_s, u"http://a.test/?q='x'&y=<z>"_s, true, 3, 25);
    html.EndRow();
    html.BeginTable(false, 100);
    html.BeginRow(false);
    html.Cell(u"inner"_s, false, 0, -1);
    html.EndRow();
    html.EndTable();
    html.BeginRow(false);
    html.LinkCell(u"plain"_s, u"http://b.test/"_s, false, 2, -1);
    html.EndRow();
    ASSERT_TRUE(html.Close());
    EXPECT_EQ(Written(path), Expected(u"expected_nested.html"_s));
}

// A file that cannot be written is refused at Open or reported by Close, and an older file survives whole.
TEST(ReportExport, UnwritableTargetsAreReportedAndTheOldFileSurvives) {
    QTemporaryDir dir;
    CProjectExporter_CSV csv;
    ASSERT_TRUE(WriteFileAtomically(dir.filePath(u"plain"_s), "file"));
    EXPECT_FALSE(csv.Open(dir.filePath(u"missing/list.csv"_s)));
    EXPECT_FALSE(csv.Open(dir.filePath(u"plain/list.csv"_s)));
    EXPECT_FALSE(csv.Open(dir.path()));
    EXPECT_FALSE(csv.Open(QString()));

    const QString path = dir.filePath(u"list.csv"_s);
    ASSERT_TRUE(WriteFileAtomically(path, "old"));
    ASSERT_TRUE(csv.Open(path));
    csv.Cell(QString(4096, u'x'), false, 0, -1);
    {
        apptest::FileSizeLimit diskFull(1024);
        EXPECT_FALSE(csv.Close());
    }
    EXPECT_EQ(Written(path), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{u"list.csv"_s, u"plain"_s}));
}

} // namespace
