#include "core/platform_services.h"
#include "platform/clipboard.h"
#include "platform/qt_platform_services.h"
#include "platform/shell.h"
#include "tests/platform/recording_window.h"
#include "tests/support/stand_in_program.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// A stand-in "xdg-open" first on PATH writes each argument it gets on a line of its own, and ends with the
// status the test gives it.
class ShellOpen : public ::testing::Test {
  protected:
    QStringList Arguments() {
        if (!twtest::WaitUntil([&] { return QFileInfo::exists(m_log); }, 5000))
            return {u"<opener never ran>"_s};
        QFile file(m_log);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
        QFile::remove(m_log);
        return lines;
    }
    static QByteArray Script(const QString& log) {
        const QByteArray to = log.toUtf8();
        return "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" + to + ".tmp\"\nmv \"" + to +
               ".tmp\" \"" + to + "\"\nexit \"$(cat \"" + to + ".status\" 2>/dev/null || echo 0)\"";
    }
    void EndWith(int status) {
        QFile file(m_log + u".status"_s);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray::number(status));
    }

    QTemporaryDir m_dir;
    QString m_log = m_dir.filePath(u"args.txt"_s);
    twtest::StandInProgram m_opener{u"xdg-open"_s, Script(m_log)};
};

TEST_F(ShellOpen, AUrlIsOneArgumentNeverAShellLine) {
    ASSERT_TRUE(m_opener.IsReady());
    const QString url = u"http://example.test/search?q=a b&x=1;touch pwned $(id) `id` 'q'"_s;
    ASSERT_TRUE(plat::OpenUrl(url));
    EXPECT_EQ(Arguments(), QStringList{url});
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath(u"pwned"_s)));
    // Through the installed services, an address without a scheme gets one.
    plat::InstallQtPlatformServices();
    OpenUrlInBrowser(u"example.test/page"_s);
    EXPECT_EQ(Arguments(), QStringList{u"http://example.test/page"_s});
    InstallPlatformServices(nullptr);
}

// A file goes to the opener by its absolute path, and the opener is watched to its end: its failure, a file
// that is not there and an opener that cannot start are heard of once each, after the call; a success is
// not, nor a failure after the window that asked is gone.
TEST_F(ShellOpen, AFileGoesByItsAbsolutePathAndItsOpenersFailureIsHeard) {
    ASSERT_TRUE(m_opener.IsReady());
    twtest::RecordingWindow window;
    int failures = 0;
    const auto count = [&] { ++failures; };
    const QString manual = m_dir.filePath(u"User Manual.pdf"_s);
    QFile file(manual);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString relative = QDir::current().relativeFilePath(manual);

    plat::OpenFileWatched(relative, window, count);
    EXPECT_EQ(Arguments(), QStringList{manual});
    QTest::qWait(300);
    EXPECT_EQ(failures, 0);

    EndWith(3);
    plat::OpenFileWatched(manual, window, count);
    EXPECT_EQ(failures, 0) << "the window does not wait for the opener";
    EXPECT_TRUE(twtest::WaitUntil([&] { return failures == 1; }, 5000));
    EXPECT_EQ(Arguments(), QStringList{manual});

    plat::OpenFileWatched(m_dir.filePath(u"missing.pdf"_s), window, count);
    plat::OpenFileWatched(QString(), window, count);
    EXPECT_EQ(failures, 3);
    QTest::qWait(100);
    EXPECT_FALSE(QFileInfo::exists(m_log)) << "nothing that is not there reaches the opener";

    {
        twtest::RecordingWindow gone;
        plat::OpenFileWatched(manual, gone, count);
    }
    EXPECT_EQ(Arguments(), QStringList{manual});
    QTest::qWait(300);
    EXPECT_EQ(failures, 3);

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(m_dir.filePath(u"nowhere"_s)));
    plat::OpenFileWatched(manual, window, count);
    qputenv("PATH", path);
    EXPECT_TRUE(twtest::WaitUntil([&] { return failures == 4; }, 5000));
}

TEST_F(ShellOpen, NothingThatReadsAsAnOptionOrIsEmpty) {
    EXPECT_FALSE(plat::OpenUrl(u"--help"_s));
    EXPECT_FALSE(plat::OpenUrl(QString()));
    QTest::qWait(100);
    EXPECT_FALSE(QFileInfo::exists(m_log));
}

TEST(Clipboard, UnicodeTextRoundTrips) {
    const QString text = u"Keyword\tVolume\r\nkäse 東京 — ✓\r\n"_s;
    plat::SetClipboardText(text);
    EXPECT_EQ(plat::ClipboardText(), text);
    plat::InstallQtPlatformServices();
    CopyTextToClipboard(u"über"_s);
    EXPECT_EQ(plat::ClipboardText(), u"über"_s);
    InstallPlatformServices(nullptr);
}
