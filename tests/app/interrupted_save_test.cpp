#include "app/project_file.h"
#include "core/atomic_file.h"
#include "net/saved_file.h"
#include "tests/app/app_test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <thread>

using namespace Qt::StringLiterals;
using Micros = std::chrono::microseconds;

namespace {

// The current project saved through the main window's save command by a child process, which is killed
// after delay (none: it finishes); answers the time taken.
Micros SaveInChild(apptest::OpenMainWindow& w, const QString& path, Micros delay = Micros(-1)) {
    w.script.AnswerFileDialogs({{path, 0}});
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        w.dlg.OnCommand(u"save"_s, 0);
        std::_Exit(w.script.messages.empty() ? 0 : 1);
    }
    if (delay.count() >= 0) {
        std::this_thread::sleep_for(delay);
        ::kill(child, SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(delay.count() >= 0 || (WIFEXITED(status) && WEXITSTATUS(status) == 0));
    return std::chrono::duration_cast<Micros>(std::chrono::steady_clock::now() - start);
}

} // namespace

// A save killed at any moment leaves the file as it was or as the save wrote it, whole; the next save (an
// hour later) clears what the killed ones left behind.
TEST(InterruptedSave, KilledSavesLeaveTheOldOrTheNewFileAndTheNextSaveClearsUp) {
    QElapsedTimer took;
    took.start();
    apptest::OpenMainWindow w;
    QTemporaryDir dir;
    // Two large kind-1 projects, opened through the main window.
    QByteArray variants[2];
    for (int v = 0; v < 2; ++v) {
        QString keywords;
        for (int i = 0; i < 40000; ++i)
            keywords += u"keyword %1 %2;"_s.arg(v).arg(i);
        CDownloader_HTMLTags document;
        document.AddChild(u"Project1"_s, false)->AddChild(u"main_keyword"_s, false)->SetText(keywords);
        ASSERT_TRUE(SaveTreeToFile(document, dir.filePath(u"source"_s)));
        w.script.AnswerFileDialogs({{dir.filePath(u"source"_s), 0}});
        w.dlg.OnCommand(u"open"_s, 0);
        ASSERT_EQ(w.dlg.m_projects.size(), size_t(v + 1));
        variants[v] = SavedFileBytes(ProjectFileTree(*w.dlg.m_projects[size_t(v)]));
    }
    ASSERT_GT(variants[0].size(), 512 << 10);

    const QString path = dir.filePath(u"big.twpx"_s);
    const Micros duration = SaveInChild(w, path);
    QByteArray current = variants[1];
    int survivedOld = 0;
    for (int kill = 0; kill < 20; ++kill) {
        const int next = kill % 2;
        w.dlg.OnCommand(u"show_project"_s, next);
        SaveInChild(w, path, duration * kill / 16);
        QByteArray bytes;
        ASSERT_TRUE(ReadWholeFile(path, bytes));
        ASSERT_TRUE(bytes == current || bytes == variants[next]) << "kill " << kill << ": a torn file";
        survivedOld += bytes == current;
        CDownloader_HTMLTags tree;
        ParseSavedFileBytes(tree, bytes);
        EXPECT_EQ(ProjectFileKind(tree), 1);

        const QStringList temporaries =
            QDir(dir.path()).entryList({u".*.tmp-*"_s}, QDir::Files | QDir::Hidden);
        for (const QString& name : temporaries) {
            const timeval hourAgo[2] = {{std::time(nullptr) - 7200, 0}, {std::time(nullptr) - 7200, 0}};
            ASSERT_EQ(::utimes(QFile::encodeName(dir.filePath(name)).constData(), hourAgo), 0);
        }
        SaveInChild(w, path);
        current = variants[next];
        ASSERT_TRUE(ReadWholeFile(path, bytes));
        EXPECT_EQ(bytes, current);
        EXPECT_TRUE(QDir(dir.path()).entryList({u".*.tmp-*"_s}, QDir::Files | QDir::Hidden).isEmpty());
    }
    EXPECT_GT(survivedOld, 0) << "some kills came before the rename";
    EXPECT_LT(took.elapsed(), 30000);
}
