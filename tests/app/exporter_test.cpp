#include "app/project_exporter_csv.h"
#include "app/project_exporter_html.h"
#include "tests/app/app_test_support.h"
#include "tests/skin/record_report.h"
#include "tests/support/skin_test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using apptest::FileBytes;

namespace {

// A report the way a kind with titled, nested tables and outside addresses writes it: a title, a table whose
// row holds an inner table (with a title that must not break it), links from outside pages, some hostile,
// a row after the inner table, and a closing title. The file is left open on purpose: Close ends the tables.
void WriteLinkedReport(CProjectExporter& exporter) {
    exporter.Title(u"Ads for <b>red shoes</b> & boots<sup>2</sup> <script>x</script>"_s, 0);
    exporter.BeginTable(true, 100);
    exporter.BeginRow(true);
    exporter.Cell(u"Site"_s, true, 1, -1);
    exporter.Cell(u"Seen on"_s, true, 2, 50);
    exporter.EndRow();

    exporter.BeginRow(false);
    exporter.LinkCell(u"Shop \"one\""_s, u"http://shop.example/a?b=1&c=2"_s, false, 1, -1);
    exporter.BeginTable(false, 50);
    exporter.Title(u"inside a table"_s, 3);
    exporter.BeginRow(false);
    exporter.Cell(u"page 1"_s, false, 3, 25.4f);
    exporter.EndRow();
    exporter.BeginRow(false);
    exporter.LinkCell(u"<b>page 2</b>"_s, u"HTTPS://shop.example/two"_s, true, 0, -1);
    exporter.EndRow();
    exporter.EndTable();
    exporter.EndRow();

    exporter.BeginRow(false);
    exporter.LinkCell(u"quote breaker"_s, u"http://evil.example/' onmouseover='alert(1)"_s, false, 2, -1);
    exporter.LinkCell(u"tag breaker"_s, u"https://evil.example/\"><script>alert(1)</script>"_s, true, 0, -1);
    exporter.EndRow();

    exporter.BeginRow(false);
    exporter.LinkCell(u"script link"_s, u"javascript:alert(document.cookie)"_s, false, 1, -1);
    exporter.LinkCell(u"data link"_s, u"data:text/html,<script>alert(1)</script>"_s, true, 0, -1);
    exporter.LinkCell(u"no scheme"_s, u"shop.example/x"_s, false, 0, -1);
    exporter.EndRow();
    exporter.EndTable();
    exporter.Title(u"Totals"_s, 4);
    exporter.BeginTable(true, 80);
    exporter.BeginRow(false);
    exporter.Cell(u"3 sites"_s, false, 0, -1);
    exporter.EndRow();
}

} // namespace

// Titles go above and between tables (and in CSV wherever they come), nested tables keep the outer table's
// row shading, and a link cell links only to a web address, escaped so that no outside address can break
// out of its attribute; everything else is written as plain text.
TEST(ReportExporters, TitlesNestedTablesAndLinksFromOutsidePages) {
    QTemporaryDir dir;
    const QString data = QStringLiteral(TW_APP_TEST_DATA_DIR "/");
    CProjectExporter_HTML html;
    ASSERT_TRUE(html.Open(dir.filePath(u"linked.htm"_s)));
    WriteLinkedReport(html);
    ASSERT_TRUE(html.Close());
    CProjectExporter_CSV csv;
    ASSERT_TRUE(csv.Open(dir.filePath(u"linked.csv"_s)));
    WriteLinkedReport(csv);
    ASSERT_TRUE(csv.Close());
    EXPECT_EQ(FileBytes(dir.filePath(u"linked.htm"_s)), FileBytes(data + u"expected_linked.htm"_s));
    EXPECT_EQ(FileBytes(dir.filePath(u"linked.csv"_s)), FileBytes(data + u"expected_linked.csv"_s));

    // The base writer writes none of it.
    CProjectExporter plain;
    ASSERT_TRUE(plain.Open(dir.filePath(u"plain.txt"_s)));
    WriteLinkedReport(plain);
    ASSERT_TRUE(plain.Close());
    EXPECT_TRUE(FileBytes(dir.filePath(u"plain.txt"_s)).isEmpty());
}

// Scraped texts that a spreadsheet would run as formulas reach the CSV file led by an apostrophe, whatever
// formula sign, tab or carriage return they start with; keywords with match operators are guarded too,
// while numbers as the grid prints them, signed and grouped, stay numbers.
TEST(ReportExporters, CsvCellsNeverRunAsFormulas) {
    skintest::UnshownDialog shown;
    skintest::RecordReport report;
    report.SetupColumns(&shown.dlg.m_rootHolder, 2);
    report.records = {{-1234, -0.5f, u"+cmd|' /C calc'!A0"_s},
                      {-12, 3.0f, u"-2+3+cmd|' /C calc'!A0"_s},
                      {5, 0.25f, u"\t=1+2"_s},
                      {6, 1.0f, u"\r@SUM(A1)"_s},
                      {7, 2.0f, u"+red +shoes"_s},
                      {8, 2.0f, u"-cheap"_s},
                      {9, 2.0f, u"-12"_s},
                      {10, 2.0f, u"+1,234.50"_s},
                      {11, 2.0f, u"-1,23"_s},
                      {12, 2.0f, u"-12\n"_s},
                      {13, 2.0f, u"red - shoes = +1"_s}};
    report.InvalidateContent();
    QTemporaryDir dir;
    CProjectExporter_CSV csv;
    ASSERT_TRUE(csv.Open(dir.filePath(u"hostile.csv"_s)));
    csv.ExportReport(report, 100);
    ASSERT_TRUE(csv.Close());
    // Every line feed, the one in a cell too, reaches the file as CR LF.
    EXPECT_EQ(
        QString::fromUtf8(FileBytes(dir.filePath(u"hostile.csv"_s))),
        (QStringList{u"\"Volume\",\"CPC (USD)\",\"Keyword\","_s,
                     u"\"-1,234\",\"-0.5\",\"'+cmd|' /C calc'!A0\","_s,
                     u"\"-12\",\"3\",\"'-2+3+cmd|' /C calc'!A0\","_s, u"\"5\",\"0.25\",\"'\t=1+2\","_s,
                     u"\"6\",\"1\",\"'\r@SUM(A1)\","_s, u"\"7\",\"2\",\"'+red +shoes\","_s,
                     u"\"8\",\"2\",\"'-cheap\","_s, u"\"9\",\"2\",\"-12\","_s,
                     u"\"10\",\"2\",\"+1,234.50\","_s, u"\"11\",\"2\",\"'-1,23\","_s,
                     u"\"12\",\"2\",\"'-12\r\n\","_s, u"\"13\",\"2\",\"red - shoes = +1\","_s, u""_s, u""_s})
            .join(u"\r\n"_s));
}

// Text reaches the file as Qt encodes it in UTF-8, also where ASCII and other characters meet mid-cell:
// characters outside the basic plane, halves of surrogate pairs without their other half, line feeds.
TEST(ReportExporters, CellsAreEncodedAsQtEncodesTheWholeText) {
    const QString loneHigh(QChar(char16_t(0xD83D)));
    const QString loneLow(QChar(char16_t(0xDE00)));
    const QStringList cells = {u"caf\u00e9\nna\u00efve"_s, u"\U0001F600x\U0001F600"_s,
                               loneHigh + u"a"_s,          u"a"_s + loneLow + u"\n"_s,
                               loneLow + loneHigh,         u"\u6771\u4eac"_s + loneHigh};
    QTemporaryDir dir;
    CProjectExporter_CSV csv;
    ASSERT_TRUE(csv.Open(dir.filePath(u"mixed.csv"_s)));
    QString expected;
    for (const QString& cell : cells) {
        csv.Cell(cell, false, 0, -1);
        expected += u'"' + cell + u"\","_s;
    }
    csv.EndRow();
    ASSERT_TRUE(csv.Close());
    expected.replace(u"\n"_s, u"\r\n"_s);
    EXPECT_EQ(FileBytes(dir.filePath(u"mixed.csv"_s)), (expected + u"\r\n"_s).toUtf8());
}
