#include "core/atomic_file.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

QStringList Temporaries(const QTemporaryDir& dir) {
    return QDir(dir.path()).entryList({QStringLiteral(".*.tmp-*")}, QDir::Files | QDir::Hidden);
}

// A new process that got the PID of a killed one finds that one's first temporary name taken.
TEST(AtomicFileLeftovers, ALeftoverBearingOurPidAndFirstCounterDoesNotFailTheSave) {
    GTEST_FLAG_SET(death_test_style, "threadsafe"); // a fresh process, whose first save takes counter 0
    EXPECT_EXIT(
        {
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("settings.zxml"));
            QFile leftover(dir.filePath(QStringLiteral(".settings.zxml.tmp-%1-0").arg(::getpid())));
            bool ok = leftover.open(QIODevice::WriteOnly) && leftover.write("half") == 4;
            leftover.close();
            QByteArray read;
            ok = ok && WriteFileAtomically(path, "whole") && ReadWholeFile(path, read) && read == "whole";
            std::_Exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(AtomicFileLeftovers, KilledSavesLeaveAtMostOneTemporaryFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("project.twpx"));
    const QByteArray bytes(32 << 20, 'x');
    for (int kill = 0; kill < 20; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            std::_Exit(WriteFileAtomically(path, bytes) ? 0 : 1);
        const QString mine = QStringLiteral(".project.twpx.tmp-%1-").arg(child);
        for (int wait = 0; wait < 20000 && Temporaries(dir).filter(mine).isEmpty(); ++wait)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        // An hour passes before the next save.
        for (const QString& name : Temporaries(dir)) {
            const timeval old[2] = {{std::time(nullptr) - 7200, 0}, {std::time(nullptr) - 7200, 0}};
            ASSERT_EQ(::utimes(QFile::encodeName(dir.filePath(name)).constData(), old), 0);
        }
    }
    EXPECT_LE(Temporaries(dir).size(), 1);
    EXPECT_TRUE(!QFileInfo::exists(path) || QFileInfo(path).size() == bytes.size()) << "never a torn file";
}

} // namespace
