#include "core/atomic_file.h"
#include "core/limits.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// Regular files are read, also through a link; nothing there is absent; a FIFO, a device, a folder, a link
// loop and a file past the bound are refused at once, before a byte is read, and leave bytes alone.
TEST(ReadWholeFileRule, RegularFilesOnlyBoundedAndNeverBlocking) {
    QTemporaryDir dir;
    const auto path = [&](const QString& name) { return dir.filePath(name); };
    const QByteArray content = QByteArray("a\0b", 3) + QByteArray(200000, 'x');
    ASSERT_TRUE(WriteFileAtomically(path(u"file"_s), content));
    ASSERT_TRUE(QFile::link(path(u"file"_s), path(u"link"_s)));
    ASSERT_TRUE(QFile::link(path(u"missing"_s), path(u"dangling"_s)));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(u"fifo"_s)).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(u"/dev/zero"_s, path(u"zero"_s)));
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"folder"_s));
    ASSERT_TRUE(QFile::link(path(u"loop"_s), path(u"loop"_s)));
    QFile huge(path(u"huge"_s)); // sparse: one byte past the bound takes neither disk nor time
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(limits::kMaxReadFileBytes + 1));
    huge.close();

    const std::pair<QString, FileReadResult> rows[] = {
        {u"file"_s, FileReadResult::Read},         {u"link"_s, FileReadResult::Read},
        {u"missing"_s, FileReadResult::Absent},    {u"dangling"_s, FileReadResult::Absent},
        {u"fifo"_s, FileReadResult::Unreadable},   {u"zero"_s, FileReadResult::Unreadable},
        {u"folder"_s, FileReadResult::Unreadable}, {u"loop"_s, FileReadResult::Unreadable},
        {u"huge"_s, FileReadResult::Unreadable},
    };
    for (const auto& [name, expected] : rows) {
        QByteArray bytes("untouched");
        QString error;
        EXPECT_EQ(ReadFileOrAbsent(path(name), bytes, &error), expected) << name.toStdString();
        EXPECT_EQ(bytes, expected == FileReadResult::Read ? content : QByteArray("untouched"));
        EXPECT_EQ(error.isEmpty(), expected == FileReadResult::Read) << error.toStdString();
    }
}

} // namespace
