#include "core/atomic_file.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

TEST(AtomicFile, ReplacesTheWholeContentWithExactBytes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("settings.zxml"));
    QByteArray bytes; // shorter than the first version, and every byte value
    for (int i = 0; i < 70000; ++i)
        bytes.append(static_cast<char>(i * 7));

    ASSERT_TRUE(WriteFileAtomically(path, QByteArray(80000, 'x')));
    ASSERT_TRUE(WriteFileAtomically(path, bytes));

    QByteArray read;
    ASSERT_TRUE(ReadWholeFile(path, read));
    EXPECT_EQ(read, bytes);
    EXPECT_EQ(Entries(dir.path()), QStringList{QStringLiteral("settings.zxml")})
        << "no temporary file is left";
}

TEST(AtomicFile, FailureReportsAndLeavesTargetAndFolderUntouched) {
    QTemporaryDir dir;
    // A directory in the target's place makes the final rename fail after the data was written.
    const QString path = dir.filePath(QStringLiteral("target"));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("target/inner")));

    QString error;
    EXPECT_FALSE(WriteFileAtomically(path, QByteArray("data"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QDir(path).exists(QStringLiteral("inner")));
    EXPECT_EQ(Entries(dir.path()), QStringList{QStringLiteral("target")}) << "the temporary file is removed";
}

TEST(AtomicFile, MissingFolderAndMissingFileFail) {
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(WriteFileAtomically(dir.filePath(QStringLiteral("no/such/folder/file")), "x", &error));
    EXPECT_FALSE(error.isEmpty());

    QByteArray read("unchanged");
    EXPECT_FALSE(ReadWholeFile(dir.filePath(QStringLiteral("missing")), read));
    EXPECT_EQ(read, QByteArray("unchanged"));
}

// A file made piece by piece is the pieces in order; a maker that gives up leaves the old file as it was.
TEST(AtomicFile, PiecesInOrderAndAMakerThatGivesUpChangesNothing) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("project.twpx"));
    ASSERT_TRUE(WriteFileAtomically(path, QByteArray("old")));
    ASSERT_TRUE(WriteFileAtomicallyInChunks(path, [](const FileChunkWriter& write) {
        for (int i = 0; i < 1000; ++i)
            if (!write(QByteArray(i % 7, char('a' + i % 26))))
                return false;
        return true;
    }));
    QByteArray expected, read;
    for (int i = 0; i < 1000; ++i)
        expected += QByteArray(i % 7, char('a' + i % 26));
    ASSERT_TRUE(ReadWholeFile(path, read));
    EXPECT_EQ(read, expected);

    QString error;
    EXPECT_FALSE(WriteFileAtomicallyInChunks(
        path, [](const FileChunkWriter& write) { return write("half a file") && false; }, &error));
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(ReadWholeFile(path, read));
    EXPECT_EQ(read, expected);
    EXPECT_EQ(Entries(dir.path()), QStringList{QStringLiteral("project.twpx")})
        << "no temporary file is left";
}

} // namespace
