#include "core/platform_services.h"
#include "platform/clipboard.h"
#include "platform/qt_platform_services.h"
#include "platform/shell.h"
#include "tests/platform/recording_window.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// A stand-in "xdg-open" first on PATH writes each argument it gets on a line of its own.
class ShellOpen : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_log = m_dir.filePath(u"args.txt"_s);
        QFile file(m_dir.filePath(u"xdg-open"_s));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const QByteArray to = m_log.toUtf8();
        file.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" + to + ".tmp\"\nmv \"" +
                   to + ".tmp\" \"" + to + "\"\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_dir.path()) + ":" + m_oldPath);
    }
    void TearDown() override { qputenv("PATH", m_oldPath); }

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

    QTemporaryDir m_dir;
    QString m_log;
    QByteArray m_oldPath;
};

TEST_F(ShellOpen, AUrlIsOneArgumentNeverAShellLineAndAFileGoesByItsAbsolutePath) {
    const QString url = u"http://example.test/search?q=a b&x=1;touch pwned $(id) `id` 'q'"_s;
    ASSERT_TRUE(plat::OpenUrl(url));
    EXPECT_EQ(Arguments(), QStringList{url});
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath(u"pwned"_s)));
    ASSERT_TRUE(plat::OpenFile(u"User Manual.pdf"_s));
    EXPECT_EQ(Arguments(), QStringList{QDir::current().absoluteFilePath(u"User Manual.pdf"_s)});
    // Through the installed services, an address without a scheme gets one.
    plat::InstallQtPlatformServices();
    OpenUrlInBrowser(u"example.test/page"_s);
    EXPECT_EQ(Arguments(), QStringList{u"http://example.test/page"_s});
    InstallPlatformServices(nullptr);
}

TEST_F(ShellOpen, NothingThatReadsAsAnOptionOrIsEmpty) {
    EXPECT_FALSE(plat::OpenUrl(u"--help"_s));
    EXPECT_FALSE(plat::OpenUrl(QString()));
    EXPECT_FALSE(plat::OpenFile(QString()));
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
