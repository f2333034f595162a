#include "core/atomic_file.h"
#include "core/headless_platform_services.h"
#include "core/limits.h"
#include "net/crawler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// The user's settings as an earlier run saved them.
const QByteArray kUserSettings = "\r\n<ProjectCrawler>"
                                 "\r\n   <allowMaxThreads>12</allowMaxThreads>"
                                 "\r\n   <FutureOption>on</FutureOption>"
                                 "\r\n   <hist_str>blue widgets</hist_str>"
                                 "\r\n</ProjectCrawler>" +
                                 QByteArray(1, '\0');

class SettingsFileRule : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_home.isValid());
        ASSERT_TRUE(QDir().mkpath(dataDir()));
        InstallPlatformServices(&m_services);
    }
    void TearDown() override { InstallPlatformServices(nullptr); }

    QString dataDir() const { return m_home.path() + u"/data"_s; }
    QString settingsFile() const { return dataDir() + u"/settings.zxml"_s; }
    QString asideFile(const QString& number = {}) const {
        return settingsFile() + CProjectCrawler::kDamagedSettingsSuffix + number;
    }

    std::unique_ptr<CProjectCrawler> started() const {
        auto crawler = std::make_unique<CProjectCrawler>(CrawlerFolders{m_home.path(), dataDir(), {}, {}});
        crawler->Init();
        return crawler;
    }

    // A run that changes the settings and saves them, once asked and once at exit.
    void runAndSave(bool expectSaved) const {
        auto crawler = started();
        crawler->courtesyMax = 9;
        crawler->AddKeywordToHistory(u"red widgets"_s, false);
        EXPECT_EQ(crawler->SaveSettings(), expectSaved);
    }

    QByteArray fileBytes(const QString& path) const {
        QByteArray bytes;
        EXPECT_TRUE(ReadWholeFile(path, bytes)) << path.toStdString();
        return bytes;
    }

    QTemporaryDir m_home;
    HeadlessPlatformServices m_services;
};

void ExpectDefaults(const CProjectCrawler& crawler) {
    EXPECT_EQ(crawler.allowMaxThreads, 6);
    EXPECT_EQ(crawler.courtesyMax, 3);
    EXPECT_TRUE(crawler.GetKeywordHistory().isEmpty());
}

// Whatever cannot be read is left exactly as it was, and the user hears of it once per start; the run goes
// on with the defaults. Links to a FIFO and to /dev/zero must neither hang the start nor read without end.
TEST_F(SettingsFileRule, AFileThatCannotBeReadIsNeverWrittenOver) {
    struct Case {
        QString name;
        std::function<void()> make;
    };
    const QString fifo = m_home.path() + u"/fifo"_s;
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    std::vector<Case> cases = {
        {u"too large"_s,
         [&] {
             ASSERT_TRUE(WriteFileAtomically(settingsFile(), kUserSettings));
             QFile file(settingsFile());
             ASSERT_TRUE(file.resize(limits::kMaxReadFileBytes + 1)); // sparse: no disk space taken
         }},
        {u"link to a FIFO"_s, [&] { ASSERT_TRUE(QFile::link(fifo, settingsFile())); }},
        {u"link to /dev/zero"_s, [&] { ASSERT_TRUE(QFile::link(u"/dev/zero"_s, settingsFile())); }},
        {u"folder"_s, [&] { ASSERT_TRUE(QDir().mkdir(settingsFile())); }},
    };
    if (::geteuid() != 0) {
        cases.push_back({u"no permission"_s,
                         [&] {
                             ASSERT_TRUE(WriteFileAtomically(settingsFile(), kUserSettings));
                             ASSERT_TRUE(QFile::setPermissions(settingsFile(), QFile::WriteOwner));
                         }});
    }
    for (const Case& unreadable : cases) {
        SCOPED_TRACE(unreadable.name.toStdString());
        unreadable.make();
        const QFileInfo before(settingsFile());
        m_services.Clear();
        {
            auto crawler = started();
            ExpectDefaults(*crawler);
            ASSERT_EQ(m_services.Notices().size(), 1);
            EXPECT_TRUE(m_services.Notices()[0].contains(settingsFile()));
            crawler->AddKeywordToHistory(u"lost"_s, true);
            EXPECT_FALSE(crawler->SaveSettings());
        }
        EXPECT_EQ(m_services.Notices().size(), 1) << "said once";
        const QFileInfo after(settingsFile());
        EXPECT_EQ(after.isSymLink(), before.isSymLink());
        EXPECT_EQ(after.symLinkTarget(), before.symLinkTarget());
        EXPECT_EQ(after.isDir(), before.isDir());
        EXPECT_EQ(after.size(), before.size());
        if (unreadable.name == u"too large"_s) {
            QFile file(settingsFile());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.read(kUserSettings.size()), kUserSettings);
        }
        EXPECT_FALSE(QFileInfo::exists(asideFile()));
        QFile::setPermissions(settingsFile(), QFile::ReadOwner | QFile::WriteOwner);
        if (after.isDir())
            QDir().rmdir(settingsFile());
        else
            QFile::remove(settingsFile());
    }
}

// Junk whose last tag is unfinished swallows the start tag of the settings that follow it. The values are
// still read; the save writes them alone, after the whole file was kept aside once, and a second save gives
// the same bytes.
TEST_F(SettingsFileRule, JunkBeforeTheSettingsIsKeptAsideOnceAndNotCarriedOn) {
    const QByteArray original = "garbage <<>> <x <junk alt=\"" + kUserSettings;
    ASSERT_TRUE(WriteFileAtomically(settingsFile(), original));
    {
        auto crawler = started();
        EXPECT_EQ(crawler->allowMaxThreads, 12);
        EXPECT_EQ(crawler->GetKeywordHistory(), QStringList{u"blue widgets"_s});
        EXPECT_TRUE(m_services.Notices().isEmpty()) << "nothing of the user's was lost";
    }
    const QByteArray saved = fileBytes(settingsFile());
    EXPECT_EQ(fileBytes(asideFile()), original);
    EXPECT_TRUE(saved.startsWith("\r\n<ProjectCrawler>")) << saved.left(40).toStdString();
    EXPECT_EQ(saved.count("<ProjectCrawler>"), 1);
    EXPECT_FALSE(saved.contains("junk"));
    EXPECT_TRUE(saved.contains("<FutureOption>on</FutureOption>"));

    runAndSave(true);
    auto crawler = started();
    EXPECT_EQ(crawler->allowMaxThreads, 12);
    EXPECT_EQ(crawler->courtesyMax, 9);
    EXPECT_EQ(crawler->GetKeywordHistory(), (QStringList{u"red widgets"_s, u"blue widgets"_s}));
    const QByteArray again = fileBytes(settingsFile());
    crawler.reset();
    EXPECT_EQ(fileBytes(settingsFile()), again) << "a save of the same settings gives the same bytes";
    EXPECT_FALSE(QFileInfo::exists(asideFile(u"-2"_s)));
    EXPECT_EQ(fileBytes(asideFile()), original);
}

// A large file of junk holds no settings: the user is told, it is kept aside under a name no earlier kept
// file has, and the settings file written instead holds the settings alone, save after save.
TEST_F(SettingsFileRule, FiftyMegabytesOfJunkAreKeptAsideAndTheFileDoesNotGrow) {
    QByteArray junk;
    const QByteArray piece = "<td a=\"1\">junk & more <<b>x</b> text without settings\r\n";
    junk.reserve(50 * 1024 * 1024 + piece.size());
    while (junk.size() < 50 * 1024 * 1024)
        junk += piece;
    ASSERT_TRUE(WriteFileAtomically(settingsFile(), junk));
    ASSERT_TRUE(WriteFileAtomically(asideFile(), "an older damaged file"));

    runAndSave(true);
    ASSERT_EQ(m_services.Notices().size(), 1);
    EXPECT_TRUE(m_services.Notices()[0].contains(asideFile(u"-2"_s)));
    EXPECT_EQ(QFileInfo(asideFile(u"-2"_s)).size(), junk.size());
    EXPECT_EQ(fileBytes(asideFile()), QByteArray("an older damaged file"));
    const QByteArray first = fileBytes(settingsFile());
    EXPECT_LT(first.size(), 4096);

    runAndSave(true);
    EXPECT_EQ(fileBytes(settingsFile()), first);
    EXPECT_FALSE(QFileInfo::exists(asideFile(u"-3"_s)));
    EXPECT_EQ(m_services.Notices().size(), 1);
    auto crawler = started();
    EXPECT_EQ(crawler->courtesyMax, 9);
    EXPECT_EQ(crawler->GetKeywordHistory(), QStringList{u"red widgets"_s});
}

// No file is the normal first start: nothing to say, nothing kept aside.
TEST_F(SettingsFileRule, NoFileIsTheFirstStart) {
    {
        auto crawler = started();
        ExpectDefaults(*crawler);
    }
    EXPECT_TRUE(m_services.Notices().isEmpty());
    EXPECT_TRUE(QFileInfo(settingsFile()).isFile());
    EXPECT_FALSE(QFileInfo::exists(asideFile()));
}

} // namespace
