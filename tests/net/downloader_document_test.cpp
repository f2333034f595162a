// The document holder: a downloader without a thread that loads and saves the program's own files.

#include "core/atomic_file.h"
#include "net/downloader.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class DocumentHolder : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString Path(const QString& name) const { return m_dir.path() + u'/' + name; }

    QTemporaryDir m_dir;
};

TEST_F(DocumentHolder, SavedTreeLoadsBackWithEveryValue) {
    CDownloader writer(-1);
    CDownloader_HTMLTags* root = writer.m_tree.AddChild(u"Project4"_s, false);
    root->AddChild(u"main_keyword"_s, true)->SetText(u"blue widgets"_s);
    // A blank line inside a value must not be taken for the end of a reply header.
    root->AddChild(u"notes"_s, true)->SetText(u"first\r\n\r\nsecond <b> & more"_s);
    root->AddChild(u"m_status"_s, true)->SetInt(3);
    ASSERT_TRUE(writer.SaveTreeToFile(Path(u"p.twpx"_s)));

    QByteArray bytes;
    ASSERT_TRUE(ReadWholeFile(Path(u"p.twpx"_s), bytes));
    ASSERT_GE(bytes.size(), 2);
    EXPECT_EQ(bytes.back(), '\0');
    EXPECT_NE(bytes.at(bytes.size() - 2), '\0');

    CDownloader reader(-1);
    ASSERT_TRUE(reader.LoadPageFromFile(Path(u"p.twpx"_s)));
    const DownloadResponse document = reader.Response();
    EXPECT_TRUE(document.header.isEmpty());
    ASSERT_NE(document.tree.FindFirst({.tag = u"project4"_s}), nullptr);
    QString keyword, notes;
    int status = 0;
    EXPECT_TRUE(
        CDownloader_HTMLTags::GetString(document.tree.FindFirst({.tag = u"main_keyword"_s}), keyword));
    EXPECT_TRUE(CDownloader_HTMLTags::GetString(document.tree.FindFirst({.tag = u"notes"_s}), notes));
    EXPECT_TRUE(CDownloader_HTMLTags::GetInt(document.tree.FindFirst({.tag = u"m_status"_s}), status, -1));
    EXPECT_EQ(keyword, u"blue widgets"_s);
    EXPECT_EQ(notes, u"first\r\n\r\nsecond <b> & more"_s);
    EXPECT_EQ(status, 3);
}

TEST_F(DocumentHolder, TakesNoJobsAndKeepsItsTreeWhenAFileFails) {
    CDownloader holder(-1);
    EXPECT_FALSE(holder.IsFreeFor(-1));
    EXPECT_FALSE(holder.Start(u"http://127.0.0.1:1/"_s));
    holder.m_tree.AddChild(u"Kept"_s, false);
    EXPECT_FALSE(holder.LoadPageFromFile(Path(u"absent.zxml"_s)));
    EXPECT_FALSE(holder.SaveTreeToFile(Path(u"no/such/folder/p.twpx"_s)));
    ASSERT_EQ(holder.m_tree.GetChildren().size(), 1u);
    EXPECT_EQ(holder.m_tree.GetChildren()[0].GetTagName(false), u"Kept"_s);
}

} // namespace
