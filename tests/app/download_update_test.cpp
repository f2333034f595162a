#include "app/download_update_dlg.h"
#include "app/installer_download.h"
#include "core/atomic_file.h"
#include "net/http_response.h"
#include "skin/message_box_dlg.h"
#include "skin/skin_constants.h"
#include "tests/app/app_test_support.h"
#include "tests/net/downloader_test_fixture.h"
#include "tests/support/http_server.h"
#include "tests/support/modal_script.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/test_printers.h"
#include "tests/support/window_events.h"

#include <QDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <limits>

using namespace Qt::StringLiterals;
using twtest::HttpReply;

namespace {

// What one run of the update dialog showed: its bar at each step, and the message it ended with.
struct UpdateRun {
    int result = 0;
    std::vector<int> steps;
    QString message;
    QString caption;
    unsigned type = 0;
    QString savedPath;
};

class UpdateDownload : public ::testing::Test {
  protected:
    QString Url(const std::string& path) const { return QString::fromStdString(m_server.Url(path)); }
    QString DataDir() const { return m_fixture.crawler->GetDataDir(); }

    // Runs the dialog for url; the message box it may show is answered with OK; cancelAfterMs cancels the
    // download with the dialog's button.
    UpdateRun Run(const QString& url, int cancelAfterMs = -1) {
        UpdateRun run;
        CDownloadUpdateDlg dlg(nullptr);
        dlg.m_url = url;
        QTimer watch;
        const auto step = [&] {
            if (run.steps.empty() || run.steps.back() != dlg.m_bar.m_position)
                run.steps.push_back(dlg.m_bar.m_position);
        };
        QObject::connect(&watch, &QTimer::timeout, step);
        skintest::ModalScript hook([&](CSkinDlg_Base& w) {
            if (auto* box = dynamic_cast<CMessageBoxDlg*>(&w)) {
                run.message = box->m_text;
                run.caption = box->m_caption;
                run.type = box->m_type;
                skintest::ClickOn(*box, box->m_button1);
            } else if (cancelAfterMs >= 0) {
                QTimer::singleShot(cancelAfterMs, dlg.widget(),
                                   [&] { skintest::ClickOn(dlg, dlg.m_cancelButton); });
            }
        });
        watch.start(20);
        run.result = dlg.DoModal();
        step();
        run.savedPath = dlg.m_savedPath;
        return run;
    }

    apptest::CrawlerFixture m_fixture;
    twtest::HttpServer m_server;
};

const QString kDownloadError =
    u"There was an error while trying to download the update. Please try again later."_s;
// The message of an installer not saved, naming it.
QString SaveError(const QString& name, const char* reason) {
    return u"Cannot save temporary installer file "_s + name + u": "_s + QLatin1StringView(reason);
}

} // namespace

// The installer arrives in steps the bar follows, and is saved in the data folder under the last segment
// of the URL's path.
TEST_F(UpdateDownload, SavesTheInstallerWithItsProgressShownOnTheWay) {
    std::string installer;
    for (int i = 0; installer.size() < 40'000; ++i)
        installer += "chunk " + std::to_string(i) + "\n";
    HttpReply slow = HttpReply::Page(installer, "application/octet-stream");
    slow.delivery = HttpReply::Delivery::Drip;
    slow.dripBytes = 2000;
    slow.dripDelayMs = 45;
    m_server.SetReply("/files/setup-2.1.bin", slow);

    const UpdateRun run = Run(Url("/files/setup-2.1.bin?channel=stable#latest"));
    ASSERT_EQ(run.result, skin::kResultOk) << run.message.toStdString();
    EXPECT_TRUE(run.message.isEmpty());
    EXPECT_EQ(run.savedPath, DataDir() + u"/setup-2.1.bin"_s);
    QByteArray saved;
    ASSERT_TRUE(ReadWholeFile(run.savedPath, saved));
    EXPECT_EQ(saved.toStdString(), installer);
    ASSERT_GE(run.steps.size(), 3u);
    EXPECT_TRUE(std::is_sorted(run.steps.begin(), run.steps.end()));
    EXPECT_TRUE(std::any_of(run.steps.begin(), run.steps.end(), [](int p) { return p > 0 && p < 100; }));
    EXPECT_EQ(run.steps.back(), 100);
}

// What is no installer is not saved: an error status, an empty reply, a reply cut short of its length, and
// a URL without a usable file name (refused before anything is fetched): none at all, one of the program's
// own files, a file already there, or a name longer than the file system takes. Each ends with its message,
// which names the file (the URL when it has no usable name), and leaves the data folder as it was.
TEST_F(UpdateDownload, RefusesErrorsAndUnusableNames) {
    HttpReply missing = HttpReply::Page("<html>not here</html>");
    missing.status = 404;
    missing.reason = "Not Found";
    m_server.SetReply("/missing.exe", missing);
    m_server.SetReply("/empty.exe", HttpReply::Page("", "application/octet-stream"));
    m_server.SetReply(
        "/cut.exe",
        HttpReply::Raw("HTTP/1.1 200 OK\r\nContent-Length: 5000\r\nConnection: close\r\n\r\n12345"));
    ASSERT_TRUE(WriteFileAtomically(DataDir() + u"/settings.zxml"_s, "settings"));
    ASSERT_TRUE(WriteFileAtomically(DataDir() + u"/setup.exe"_s, "older"));
    const std::string longName = std::string(256, 'n') + ".exe";
    const char* const own = "the program keeps a file of its own under that name";
    const char* const noName = "the address names no file";
    const struct {
        std::string path;
        QString message;
        bool fetched;
    } cases[] = {
        {"/updates/settings.zxml", SaveError(u"settings.zxml"_s, own), false},
        {"/project5.zxml", SaveError(u"project5.zxml"_s, own), false},
        {"/project5.zxml.lock", SaveError(u"project5.zxml.lock"_s, own), false},
        {"/.settings.zxml.tmp-1-1", SaveError(u".settings.zxml.tmp-1-1"_s, own), false},
        {"/setup.exe", SaveError(u"setup.exe"_s, "a file of that name is already there"), false},
        {"/" + longName,
         SaveError(QString::fromStdString(longName), "the name is too long for the file system"), false},
        {"/missing.exe", kDownloadError, true},
        {"/empty.exe", kDownloadError, true},
        {"/cut.exe", kDownloadError, true},
        {"/updates/", SaveError(Url("/updates/"), noName), false},
        {"/updates/..", SaveError(Url("/updates/.."), noName), false},
        {"/updates/%2E%2E", SaveError(Url("/updates/%2E%2E"), noName), false},
        {"/a%2Fb.exe", SaveError(Url("/a%2Fb.exe"), noName), false},
        {"/a%00b.exe", SaveError(Url("/a%00b.exe"), noName), false},
    };
    for (const auto& c : cases) {
        const std::size_t before = m_server.Requests().size();
        const UpdateRun run = Run(Url(c.path));
        EXPECT_EQ(run.result, skin::kResultCancel) << c.path;
        EXPECT_EQ(run.message, c.message) << c.path;
        EXPECT_EQ(run.caption, u"Error"_s);
        EXPECT_EQ(run.type, skin::kMessageStop);
        EXPECT_TRUE(run.savedPath.isEmpty());
        EXPECT_EQ(m_server.Requests().size() > before, c.fetched) << c.path;
    }
    EXPECT_EQ(QDir(DataDir()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{u"settings.zxml"_s, u"setup.exe"_s}));
    QByteArray kept;
    ASSERT_TRUE(ReadWholeFile(DataDir() + u"/settings.zxml"_s, kept));
    EXPECT_EQ(kept, "settings");
}

// Near the file system's name limit (255 bytes) the installer is saved through a temporary file with a
// longer name: a name is either saved, or refused before anything is fetched with a message that names it;
// never fetched only to fail. Names from 245 bytes on are refused.
TEST_F(UpdateDownload, ANameAtTheLimitIsRefusedBeforeAnythingIsFetched) {
    for (const int bytes : {200, 225, 235, 245, 250, 255}) {
        const std::string name = std::string(size_t(bytes) - 4, 'n') + ".exe";
        m_server.SetReply("/" + name, HttpReply::Page("installer", "application/octet-stream"));
        const std::size_t before = m_server.Requests().size();
        const UpdateRun run = Run(Url("/" + name));
        const bool fetched = m_server.Requests().size() > before;
        if (run.result == skin::kResultOk) {
            EXPECT_LT(bytes, 245);
            EXPECT_EQ(run.savedPath, DataDir() + u'/' + QString::fromStdString(name));
            EXPECT_TRUE(QFile::remove(run.savedPath));
        } else {
            EXPECT_FALSE(fetched) << bytes << " bytes";
            EXPECT_EQ(run.message,
                      SaveError(QString::fromStdString(name), "the name is too long for the file system"));
        }
        EXPECT_TRUE(bytes != 200 || run.result == skin::kResultOk) << run.message.toStdString();
    }
    EXPECT_TRUE(QDir(DataDir()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// Cancelling a download that has not ended gives its slot back to the pool and saves nothing.
TEST_F(UpdateDownload, CancellingGivesTheDownloaderBack) {
    m_server.SetReply("/stall.exe", HttpReply::With(HttpReply::Delivery::Stall));
    const UpdateRun run = Run(Url("/stall.exe"), 700);
    EXPECT_EQ(run.result, skin::kResultCancel);
    EXPECT_TRUE(run.message.isEmpty());
    EXPECT_FALSE(QFile::exists(DataDir() + u"/stall.exe"_s));
    for (const auto& downloader : m_fixture.crawler->GetDownloaders())
        EXPECT_TRUE(dltest::WaitReusable(*downloader));
}

// Whatever the counts (a length announced beyond any file, a count past it, a header still being counted),
// the bar gets 0 to 100.
TEST(InstallerProgress, StaysWithinTheBarWhateverTheCounts) {
    const struct {
        QString header;
        qint64 received;
        int percent;
    } cases[] = {
        {u"HTTP/1.1 200 OK\r\ncontent-length:   1000  \r\nX: 1"_s, 999, 99},
        {u"HTTP/1.1 200 OK\r\nCONTENT-LENGTH: 1000"_s, 5000, 100},
        {u"HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n"_s, -40, 0},
        {u"HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999999\r\n"_s, 1'000'000, 0},
        {u"HTTP/1.1 200 OK\r\nContent-Length: -5\r\n"_s, 10, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DownloadPercent(c.received, ParseResponseHead(c.header).contentLength.value_or(0)),
                  c.percent)
            << c.header.toStdString();
    EXPECT_EQ(DownloadPercent(std::numeric_limits<qint64>::max() - 1, std::numeric_limits<qint64>::max()),
              99);
}
