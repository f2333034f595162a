#include "core/atomic_file.h"
#include "net/crawler.h"
#include "net/crawler_autostart.h"
#include "net/saved_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

using Node = CDownloader_HTMLTags;

class CrawlerSettings : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_home.isValid()); }

    CrawlerFolders Folders() const {
        return {m_home.path() + u"/app"_s, DataDir(), AutostartFile(),
                m_home.path() + u"/my \"apps\"/tarnwick"_s};
    }
    QString DataDir() const { return m_home.path() + u"/share/Tarnwick 2.0"_s; }
    QString SettingsFile() const { return DataDir() + u"/settings.zxml"_s; }
    QString AutostartFile() const { return m_home.path() + u"/config/autostart/tarnwick.desktop"_s; }

    std::unique_ptr<CProjectCrawler> Started() const {
        auto crawler = std::make_unique<CProjectCrawler>(Folders());
        crawler->Init();
        return crawler;
    }

    QByteArray SettingsBytes() const {
        QByteArray bytes;
        EXPECT_TRUE(ReadWholeFile(SettingsFile(), bytes));
        return bytes;
    }

    void WriteSettings(const QString& body) const {
        ASSERT_TRUE(QDir().mkpath(DataDir()));
        ASSERT_TRUE(WriteFileAtomically(SettingsFile(), body.toUtf8() + QByteArray(1, '\0')));
    }

    // The top-level elements of the saved file that are named name.
    int TopLevelCount(const QString& name) const {
        Node document;
        EXPECT_TRUE(LoadTreeFromFile(document, SettingsFile()));
        int count = 0;
        for (const Node& child : document.GetChildren())
            count += !child.IsTextNode() && child.GetTagName(false) == name;
        return count;
    }

    QTemporaryDir m_home;
};

// One setting of each kind (the keys are one table); the first start also makes the data folder private, and
// the file, which holds passwords, is the user's alone even where an older one was readable by all.
TEST_F(CrawlerSettings, SettingsSurviveASaveAndReload) {
    const QFile::Permissions othersMay = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                         QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    {
        auto crawler = Started();
        const QFileInfo folder(DataDir());
        ASSERT_TRUE(folder.isDir());
        EXPECT_EQ(folder.permissions() & othersMay, QFile::Permissions());
        WriteSettings(u"<ProjectCrawler></ProjectCrawler>"_s);
        ASSERT_TRUE(QFile::setPermissions(SettingsFile(), QFile::ReadOwner | QFile::WriteOwner |
                                                              QFile::ReadGroup | QFile::ReadOther));
        crawler->allowMaxThreads = 12;
        crawler->allowCourtesy = true;
        crawler->GoogleAdwords_pass = u"p<a>ss & \"word\""_s;
        crawler->adsenseLastDestDir = u"/home/u/pages with  two spaces"_s;
        crawler->allowArticleCourtesy = false;
        EXPECT_TRUE(crawler->SaveSettings());
        EXPECT_EQ(QFileInfo(SettingsFile()).permissions() & othersMay, QFile::Permissions());
    }
    auto crawler = Started();
    EXPECT_EQ(crawler->allowMaxThreads, 12);
    EXPECT_TRUE(crawler->allowCourtesy);
    EXPECT_EQ(crawler->GoogleAdwords_pass, u"p<a>ss & \"word\""_s);
    EXPECT_EQ(crawler->adsenseLastDestDir, u"/home/u/pages with  two spaces"_s);
    EXPECT_FALSE(crawler->allowArticleCourtesy);
    EXPECT_TRUE(SettingsBytes().contains(
        "\r\n   <allowMaxThreads>12</allowMaxThreads>\r\n   <allowCourtesy>true</allowCourtesy>"));
}

TEST_F(CrawlerSettings, SavingTwiceKeepsOneElementAndTheKeysItDoesNotKnow) {
    WriteSettings(u"\r\n<Extra>kept at the top</Extra>"
                  u"\r\n<projectcrawler>"
                  u"\r\n   <FutureOption>on</FutureOption>"
                  u"\r\n   <ALLOWMAXTHREADS>8</ALLOWMAXTHREADS>"
                  u"\r\n   <hist_str>old</hist_str>"
                  u"\r\n   <Group><courtesyMin>77</courtesyMin></Group>"
                  u"\r\n</projectcrawler>"_s);
    {
        auto crawler = Started();
        EXPECT_EQ(crawler->allowMaxThreads, 8);
        // A key inside another element is not a setting.
        EXPECT_EQ(crawler->courtesyMin, 0);
        EXPECT_EQ(crawler->GetKeywordHistory(), QStringList{u"old"_s});
        crawler->AddKeywordToHistory(u"first"_s, true);
        crawler->AddKeywordToHistory(u"second"_s, true);
        EXPECT_TRUE(crawler->SaveSettings());
    }
    EXPECT_EQ(TopLevelCount(u"projectcrawler"_s) + TopLevelCount(u"ProjectCrawler"_s), 1);
    // What stood beside the settings is not carried on, but kept aside, once.
    EXPECT_EQ(TopLevelCount(u"Extra"_s), 0);
    QByteArray aside;
    ASSERT_TRUE(ReadWholeFile(SettingsFile() + CProjectCrawler::kDamagedSettingsSuffix, aside));
    EXPECT_TRUE(aside.contains("<Extra>kept at the top</Extra>"));
    EXPECT_FALSE(QFile::exists(SettingsFile() + CProjectCrawler::kDamagedSettingsSuffix + u"-2"_s));
    const QByteArray bytes = SettingsBytes();
    EXPECT_TRUE(bytes.contains("<FutureOption>on</FutureOption>"));
    EXPECT_TRUE(bytes.contains("<courtesyMin>77</courtesyMin>"));
    EXPECT_EQ(bytes.count("<hist_str>"), 3);

    auto crawler = Started();
    EXPECT_EQ(crawler->GetKeywordHistory(), (QStringList{u"second"_s, u"first"_s, u"old"_s}));
    EXPECT_EQ(crawler->allowMaxThreads, 8);
}

// Keys the file lacks keep their defaults.
TEST_F(CrawlerSettings, OutOfRangeNumbersAreClampedAndMissingKeysKeepTheirDefaults) {
    WriteSettings(u"\r\n<ProjectCrawler>"
                  u"\r\n   <allowMaxThreads>100000</allowMaxThreads>"
                  u"\r\n   <courtesyMin>-5</courtesyMin>"
                  u"\r\n   <courtesyMax>99999999999</courtesyMax>"
                  u"\r\n   <articleCourtesyMin>4000</articleCourtesyMin>"
                  u"\r\n   <articleCourtesyMax>abc</articleCourtesyMax>"
                  u"\r\n</ProjectCrawler>"_s);
    auto crawler = Started();
    EXPECT_EQ(crawler->allowMaxThreads, 64);
    EXPECT_EQ(crawler->courtesyMin, 0);
    EXPECT_EQ(crawler->courtesyMax, 3600);
    // Not a number: the default 3, below the clamped 3600, so the range turns round.
    EXPECT_EQ(crawler->articleCourtesyMin, 3);
    EXPECT_EQ(crawler->articleCourtesyMax, 3600);
    EXPECT_TRUE(crawler->allowArticleCourtesy);
    EXPECT_EQ(crawler->GoogleAdwords_user, QString::fromUtf16(kAccountNeverEntered));

    WriteSettings(u"\r\n<ProjectCrawler><allowMaxThreads>0</allowMaxThreads></ProjectCrawler>"_s);
    EXPECT_EQ(Started()->allowMaxThreads, 1);
}

TEST_F(CrawlerSettings, NothingIsWrittenBeforeTheSettingsWereRead) {
    WriteSettings(u"\r\n<ProjectCrawler><allowMaxThreads>9</allowMaxThreads></ProjectCrawler>"_s);
    const QByteArray before = SettingsBytes();
    {
        CProjectCrawler crawler(Folders());
        crawler.allowMaxThreads = 30;
        EXPECT_FALSE(crawler.SaveSettings());
        crawler.AddKeywordToHistory(u"lost"_s, true);
    }
    EXPECT_EQ(SettingsBytes(), before);
}

// A file cut off inside a value, before the root's end tag and the final 0x00, still holds the user's values;
// the settings are also saved when the crawler goes, and that save closes the root around them.
TEST_F(CrawlerSettings, TruncatedFileKeepsTheUsersValuesAndIsWrittenWholeAgain) {
    ASSERT_TRUE(QDir().mkpath(DataDir()));
    ASSERT_TRUE(WriteFileAtomically(SettingsFile(),
                                    "\r\n<ProjectCrawler>\r\n   <allowMaxThreads>7</allowMaxThreads>"
                                    "\r\n   <hist_str>blue widgets</hist_str>"
                                    "\r\n   <Extra>kept</Extra>"
                                    "\r\n   <hist_str>red widgets</hist_str>"
                                    "\r\n   <courtesyMax>5"));
    {
        auto crawler = Started();
        EXPECT_EQ(crawler->allowMaxThreads, 7);
        EXPECT_EQ(crawler->courtesyMax, 3);
        EXPECT_EQ(crawler->GetKeywordHistory(), (QStringList{u"blue widgets"_s, u"red widgets"_s}));
        crawler->courtesyMax = 9;
        crawler->AddKeywordToHistory(u"kept"_s, false);
    }
    auto crawler = Started();
    EXPECT_EQ(crawler->allowMaxThreads, 7);
    EXPECT_EQ(crawler->courtesyMax, 9);
    EXPECT_EQ(crawler->GetKeywordHistory(), (QStringList{u"kept"_s, u"blue widgets"_s, u"red widgets"_s}));
    EXPECT_EQ(TopLevelCount(u"ProjectCrawler"_s), 1);
    const QByteArray bytes = SettingsBytes();
    EXPECT_TRUE(bytes.endsWith(QByteArray("</ProjectCrawler>") + '\0'));
    EXPECT_EQ(bytes.count("<Extra>kept</Extra>"), 1);
}

TEST_F(CrawlerSettings, KeywordHistoryMovesRepeatsToTheFrontAndKeepsThirty) {
    auto crawler = Started();
    for (int i = 1; i <= 30; ++i)
        crawler->AddKeywordToHistory(u"keyword %1"_s.arg(i), false);
    crawler->AddKeywordToHistory(u"KEYWORD 10"_s, false);
    ASSERT_EQ(crawler->GetKeywordHistory().size(), 30);
    EXPECT_EQ(crawler->GetKeywordHistory().front(), u"KEYWORD 10"_s);
    EXPECT_EQ(crawler->GetKeywordHistory().count(u"keyword 10"_s), 0);
    EXPECT_EQ(crawler->GetKeywordHistory().back(), u"keyword 1"_s);

    crawler->AddKeywordToHistory(u"new"_s, false);
    ASSERT_EQ(crawler->GetKeywordHistory().size(), 30);
    EXPECT_EQ(crawler->GetKeywordHistory().back(), u"keyword 2"_s);

    // Only a save asked for reaches the file.
    EXPECT_FALSE(QFile::exists(SettingsFile()));
    crawler->AddKeywordToHistory(u"saved"_s, true);
    EXPECT_TRUE(SettingsBytes().contains("<hist_str>saved</hist_str>"));
}

TEST_F(CrawlerSettings, HistoryEntriesReadBackExactlyAndClearingIsSaved) {
    const QString odd = u"  a <b> & c\tline\r\nbreak  "_s;
    {
        auto crawler = Started();
        crawler->AddKeywordToHistory(odd, true);
    }
    auto crawler = Started();
    EXPECT_EQ(crawler->GetKeywordHistory(), QStringList{odd});
    crawler->ClearKeywordHistory();
    EXPECT_FALSE(SettingsBytes().contains("hist_str"));
}

TEST_F(CrawlerSettings, StartWithLoginEntryFollowsTheSetting) {
    {
        auto crawler = Started();
        EXPECT_FALSE(crawler->m_autorun);
        crawler->m_autorun = true;
        EXPECT_TRUE(crawler->SaveSettings());
    }
    QByteArray entry;
    ASSERT_TRUE(ReadWholeFile(AutostartFile(), entry));
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
    const QString exec = u"Exec=\""_s + m_home.path() + u"/my \\\\\"apps\\\\\"/tarnwick\" --GoProject4\n"_s;
    EXPECT_TRUE(QString::fromUtf8(entry).contains(exec)) << entry.toStdString();

    auto crawler = Started();
    EXPECT_TRUE(crawler->m_autorun);
    crawler->m_autorun = false;
    EXPECT_TRUE(crawler->SaveSettings());
    EXPECT_FALSE(QFile::exists(AutostartFile()));
    EXPECT_FALSE(Started()->m_autorun);
}

TEST_F(CrawlerSettings, WithoutAPlaceForTheEntryOnlyTheFileIsSaved) {
    CrawlerFolders noEntry = Folders();
    noEntry.autostartFile.clear();
    CProjectCrawler crawler(noEntry);
    crawler.Init();
    crawler.m_autorun = true;
    EXPECT_TRUE(crawler.SaveSettings());
    EXPECT_TRUE(QFile::exists(SettingsFile()));
    EXPECT_FALSE(QFile::exists(AutostartFile()));
}

TEST(AutostartEntry, ExecQuotesThePathByTheDesktopEntryRules) {
    EXPECT_EQ(DesktopExecArgument(u"/opt/tarnwick/tarnwick"_s), u"\"/opt/tarnwick/tarnwick\""_s);
    EXPECT_EQ(DesktopExecArgument(u"/home/a b/My \"Tools\"/tarnwick"_s),
              u"\"/home/a b/My \\\\\"Tools\\\\\"/tarnwick\""_s);
    // The file's string escapes are undone before the quoting, so every backslash of the quoting is doubled
    // once more: a literal backslash takes four. '%' is doubled.
    EXPECT_EQ(DesktopExecArgument(u"/x/$HOME/`id`/100%/back\\slash"_s),
              u"\"/x/\\\\$HOME/\\\\`id\\\\`/100%%/back\\\\\\\\slash\""_s);
    EXPECT_EQ(DesktopExecArgument(u"/x/new\nline"_s), u"\"/x/new\\nline\""_s);
}

// Sets an environment variable for one test and puts the old state back.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value)
        : m_name(name), m_wasSet(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
        if (value)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    ~ScopedVariable() {
        if (m_wasSet)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

  private:
    const char* m_name;
    bool m_wasSet;
    QByteArray m_old;
};

TEST(CrawlerFoldersDefaults, FollowTheXdgVariables) {
    ScopedVariable home("HOME", "/home/someone");
    ScopedVariable config("XDG_CONFIG_HOME", "relative/is/ignored");
    {
        ScopedVariable data("XDG_DATA_HOME", "/xdg/data");
        const CrawlerFolders folders = CrawlerFolders::FromEnvironment();
        EXPECT_EQ(folders.dataDir, u"/xdg/data/Tarnwick 2.0"_s);
        EXPECT_EQ(folders.autostartFile, u"/home/someone/.config/autostart/tarnwick.desktop"_s);
        EXPECT_FALSE(folders.executable.isEmpty());
        EXPECT_EQ(folders.appDir, QFileInfo(folders.executable).path());
    }
    ScopedVariable data("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(CrawlerFolders::FromEnvironment().dataDir, u"/home/someone/.local/share/Tarnwick 2.0"_s);
}

TEST(CrawlerFoldersDefaults, WithoutAHomeFilesStayWithTheProgram) {
    ScopedVariable home("HOME", nullptr);
    ScopedVariable data("XDG_DATA_HOME", nullptr);
    ScopedVariable config("XDG_CONFIG_HOME", nullptr);
    const CrawlerFolders folders = CrawlerFolders::FromEnvironment();
    EXPECT_EQ(folders.dataDir, folders.appDir);
    EXPECT_TRUE(folders.autostartFile.isEmpty());
}

} // namespace
