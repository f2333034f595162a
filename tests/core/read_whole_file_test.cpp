#include "core/atomic_file.h"
#include "core/limits.h"
#include "tests/core/qstring_printer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

class ReadWholeFileRule : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const QString& name) const { return m_dir.filePath(name); }
    void link(const QString& target, const QString& name) const {
        ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path(name)).constData()),
                  0);
    }

    // The result, with bytes checked to be left alone unless the file was read.
    FileReadResult read(const QString& name, QByteArray* readBytes = nullptr) const {
        QByteArray bytes("untouched");
        QString error;
        const FileReadResult result = ReadFileWhole(path(name), bytes, &error);
        if (result == FileReadResult::Read) {
            EXPECT_TRUE(error.isEmpty());
        } else {
            EXPECT_EQ(bytes, QByteArray("untouched")) << name.toStdString();
            EXPECT_TRUE(error.contains(path(name))) << error.toStdString();
        }
        if (readBytes)
            *readBytes = bytes;
        return result;
    }

    QTemporaryDir m_dir;
};

TEST_F(ReadWholeFileRule, RegularFilesAreReadAlsoThroughALinkAndNothingThereIsAbsent) {
    const QByteArray content = QByteArray("settings\0with a zero", 20) + QByteArray(200000, 'x');
    ASSERT_TRUE(WriteFileAtomically(path(u"file"_s), content));
    link(path(u"file"_s), u"link"_s);
    QByteArray bytes;
    EXPECT_EQ(read(u"file"_s, &bytes), FileReadResult::Read);
    EXPECT_EQ(bytes, content);
    EXPECT_EQ(read(u"link"_s, &bytes), FileReadResult::Read);
    EXPECT_EQ(bytes, content);
    ASSERT_TRUE(WriteFileAtomically(path(u"empty"_s), QByteArray()));
    EXPECT_EQ(read(u"empty"_s, &bytes), FileReadResult::Read);
    EXPECT_TRUE(bytes.isEmpty());

    EXPECT_EQ(read(u"missing"_s), FileReadResult::Absent);
    link(path(u"missing"_s), u"dangling"_s);
    EXPECT_EQ(read(u"dangling"_s), FileReadResult::Absent);
}

// None of these may block or read without end: each is refused before a byte is read.
TEST_F(ReadWholeFileRule, FifosDevicesFoldersLoopsAndHugeFilesAreUnreadable) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(u"fifo"_s)).constData(), 0600), 0);
    link(path(u"fifo"_s), u"to fifo"_s);
    link(u"/dev/zero"_s, u"to zero"_s);
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(u"folder"_s));
    link(path(u"loop"_s), u"loop"_s);
    {
        // Sparse: no disk space and no time, one byte past the bound.
        QFile huge(path(u"huge"_s));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        ASSERT_TRUE(huge.resize(limits::kMaxReadFileBytes + 1));
    }
    for (const QString& name : {u"fifo"_s, u"to fifo"_s, u"to zero"_s, u"folder"_s, u"loop"_s, u"huge"_s})
        EXPECT_EQ(read(name), FileReadResult::Unreadable) << name.toStdString();
    if (::geteuid() != 0) {
        ASSERT_TRUE(WriteFileAtomically(path(u"private"_s), "x"));
        ASSERT_TRUE(QFile::setPermissions(path(u"private"_s), QFile::Permissions()));
        EXPECT_EQ(read(u"private"_s), FileReadResult::Unreadable);
    }
}

} // namespace
