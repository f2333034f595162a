#include "core/atomic_file.h"
#include "net/crawler.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A settings file cut off before the root's end tag still holds the user's values, and the next save
// closes the root around them.
TEST(SettingsFile, RootWithoutEndTagKeepsTheUsersValues) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const CrawlerFolders folders{home.filePath(u"app"_s), home.filePath(u"data"_s), {}, {}};
    const QString file = folders.dataDir + u"/settings.zxml"_s;
    ASSERT_TRUE(QDir().mkpath(folders.dataDir));
    ASSERT_TRUE(WriteFileAtomically(file, "\r\n<ProjectCrawler>\r\n   <allowMaxThreads>9</allowMaxThreads>"
                                          "\r\n   <Google_Country>DE_Germany</Google_Country>"
                                          "\r\n   <hist_str>blue widgets</hist_str>\r\n   <Extra>kept</Extra>"
                                          "\r\n   <hist_str>red widgets</hist_str>\r\n"));
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        CProjectCrawler crawler(folders);
        crawler.Init();
        EXPECT_EQ(crawler.allowMaxThreads, 9);
        EXPECT_EQ(crawler.Google_Country, u"DE_Germany"_s);
        EXPECT_EQ(crawler.GetKeywordHistory(), (QStringList{u"blue widgets"_s, u"red widgets"_s}));
    }
    QByteArray bytes;
    ASSERT_TRUE(ReadWholeFile(file, bytes));
    EXPECT_EQ(bytes.count("ProjectCrawler>"), 2) << "one start and one end tag";
    EXPECT_TRUE(bytes.endsWith(QByteArray("</ProjectCrawler>") + '\0'));
    EXPECT_EQ(bytes.count("<Extra>kept</Extra>"), 1);
}

} // namespace
