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

using namespace Qt::StringLiterals;

namespace {

// The user's settings as an earlier run saved them.
const QByteArray kUserSettings =
    "\r\n<ProjectCrawler>\r\n   <allowMaxThreads>12</allowMaxThreads>"
    "\r\n   <FutureOption>on</FutureOption>\r\n   <hist_str>blue widgets</hist_str>"
    "\r\n</ProjectCrawler>" +
    QByteArray(1, '\0');

class SettingsFileRule : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(DataDir()));
        InstallPlatformServices(&m_services);
    }
    void TearDown() override { InstallPlatformServices(nullptr); }

    QString DataDir() const { return m_home.path() + u"/data"_s; }
    QString SettingsFile() const { return DataDir() + u"/settings.zxml"_s; }
    QString Aside(const QString& number = {}) const {
        return SettingsFile() + CProjectCrawler::kDamagedSettingsSuffix + number;
    }
    std::unique_ptr<CProjectCrawler> Started() const {
        auto crawler = std::make_unique<CProjectCrawler>(CrawlerFolders{m_home.path(), DataDir(), {}, {}});
        crawler->Init();
        return crawler;
    }
    // A run that changes the settings, saves them when asked and again at exit.
    bool ChangeAndSave() const {
        auto crawler = Started();
        crawler->courtesyMax = 9;
        crawler->AddKeywordToHistory(u"red widgets"_s, false);
        return crawler->SaveSettings();
    }
    static QByteArray BytesOf(const QString& path) {
        QByteArray bytes;
        EXPECT_TRUE(ReadWholeFile(path, bytes)) << path.toStdString();
        return bytes;
    }

    QTemporaryDir m_home;
    HeadlessPlatformServices m_services;
};

// Whatever is there and cannot be read stays exactly as it was; the run goes on with the defaults and says so
// once. Links to a FIFO and to /dev/zero must neither hang the start nor read without end.
TEST_F(SettingsFileRule, AFileThatCannotBeReadIsNeverWrittenOver) {
    const QString fifo = m_home.path() + u"/fifo"_s;
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"too large",
         [&] {
             ASSERT_TRUE(WriteFileAtomically(SettingsFile(), kUserSettings));
             ASSERT_TRUE(QFile(SettingsFile()).resize(limits::kMaxReadFileBytes + 1)); // sparse
         }},
        {"link to a FIFO", [&] { ASSERT_TRUE(QFile::link(fifo, SettingsFile())); }},
        {"link to /dev/zero", [&] { ASSERT_TRUE(QFile::link(u"/dev/zero"_s, SettingsFile())); }},
    };
    for (const auto& [name, make] : cases) {
        SCOPED_TRACE(name);
        make();
        const QFileInfo before(SettingsFile());
        m_services.Clear();
        {
            auto crawler = Started();
            EXPECT_EQ(crawler->allowMaxThreads, 6);
            EXPECT_TRUE(crawler->GetKeywordHistory().isEmpty());
            crawler->AddKeywordToHistory(u"lost"_s, true);
            EXPECT_FALSE(crawler->SaveSettings());
        }
        ASSERT_EQ(m_services.Notices().size(), 1) << "said once";
        EXPECT_TRUE(m_services.Notices()[0].contains(SettingsFile()));
        const QFileInfo after(SettingsFile());
        EXPECT_EQ(after.symLinkTarget(), before.symLinkTarget());
        EXPECT_EQ(after.size(), before.size());
        QFile file(SettingsFile());
        if (!after.isSymLink()) {
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.read(kUserSettings.size()), kUserSettings);
        }
        EXPECT_FALSE(QFileInfo::exists(Aside()));
        QFile::remove(SettingsFile());
    }
}

// Junk whose last tag is unfinished swallows the start tag of the settings after it. The values are still
// read; the first save keeps the whole file aside and writes the settings alone, and saves give one file.
TEST_F(SettingsFileRule, JunkBeforeTheSettingsIsKeptAsideOnceAndNotCarriedOn) {
    const QByteArray original = "garbage <<>> <x <junk alt=\"" + kUserSettings;
    ASSERT_TRUE(WriteFileAtomically(SettingsFile(), original));
    EXPECT_TRUE(ChangeAndSave());
    EXPECT_TRUE(m_services.Notices().isEmpty()) << "nothing of the user's was lost";
    EXPECT_EQ(BytesOf(Aside()), original);
    const QByteArray saved = BytesOf(SettingsFile());
    EXPECT_TRUE(saved.startsWith("\r\n<ProjectCrawler>"));
    EXPECT_FALSE(saved.contains("junk"));
    EXPECT_TRUE(saved.contains("<FutureOption>on</FutureOption>"));

    auto crawler = Started();
    EXPECT_EQ(crawler->allowMaxThreads, 12);
    EXPECT_EQ(crawler->courtesyMax, 9);
    EXPECT_EQ(crawler->GetKeywordHistory(), (QStringList{u"red widgets"_s, u"blue widgets"_s}));
    crawler.reset();
    EXPECT_EQ(BytesOf(SettingsFile()), saved) << "the same settings give the same bytes";
    EXPECT_FALSE(QFileInfo::exists(Aside(u"-2"_s)));
}

// 50 MB of junk hold no settings: the user is told, the file is kept aside under a name no earlier kept file
// has, and the file written instead holds the settings alone, save after save.
TEST_F(SettingsFileRule, FiftyMegabytesOfJunkAreKeptAsideAndTheFileDoesNotGrow) {
    const QByteArray piece = "<td a=\"1\">junk & more <<b>x</b> text without settings\r\n";
    const QByteArray junk = piece.repeated(50 * 1024 * 1024 / piece.size() + 1);
    ASSERT_TRUE(WriteFileAtomically(SettingsFile(), junk));
    ASSERT_TRUE(WriteFileAtomically(Aside(), "an older damaged file"));

    EXPECT_TRUE(ChangeAndSave());
    ASSERT_EQ(m_services.Notices().size(), 1);
    EXPECT_TRUE(m_services.Notices()[0].contains(Aside(u"-2"_s)));
    EXPECT_EQ(QFileInfo(Aside(u"-2"_s)).size(), junk.size());
    EXPECT_EQ(BytesOf(Aside()), QByteArray("an older damaged file"));
    const QByteArray first = BytesOf(SettingsFile());
    EXPECT_LT(first.size(), 4096);

    EXPECT_TRUE(ChangeAndSave());
    EXPECT_EQ(BytesOf(SettingsFile()), first);
    EXPECT_FALSE(QFileInfo::exists(Aside(u"-3"_s)));
    EXPECT_EQ(m_services.Notices().size(), 1);
}

// No file is the normal first start: nothing to say, nothing kept aside.
TEST_F(SettingsFileRule, NoFileIsTheFirstStart) {
    EXPECT_TRUE(ChangeAndSave());
    EXPECT_TRUE(m_services.Notices().isEmpty());
    EXPECT_EQ(Started()->courtesyMax, 9);
    EXPECT_FALSE(QFileInfo::exists(Aside()));
}

} // namespace
