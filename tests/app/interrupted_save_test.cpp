#include "app/project_file.h"
#include "core/atomic_file.h"
#include "net/saved_file.h"
#include "projects/keyword_input_project.h"
#include "tests/app/app_test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;
using apptest::OpenMainWindow;

namespace {

QStringList Temporaries(const QTemporaryDir& dir) {
    return QDir(dir.path()).entryList({u".*.tmp-*"_s}, QDir::Files | QDir::Hidden);
}

// The keywords of a large kind-1 project, distinct per variant.
QString ManyKeywords(char variant) {
    QString text;
    for (int i = 0; i < 40000; ++i)
        text += u"keyword %1 %2;"_s.arg(QChar::fromLatin1(variant)).arg(i);
    return text;
}

// Saves the current project through the main window's save command in a child process; the parent kills
// it after delay (or lets it finish when delay is negative). Answers the save's duration.
std::chrono::microseconds SaveInChild(OpenMainWindow& w, const QString& path,
                                      std::chrono::microseconds delay) {
    w.script.AnswerFileDialogs({{path, 0}});
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        w.dlg.OnCommand(u"save"_s, 0);
        std::_Exit(w.script.messages.empty() ? 0 : 1);
    }
    EXPECT_GT(child, 0);
    if (delay.count() >= 0) {
        std::this_thread::sleep_for(delay);
        ::kill(child, SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (delay.count() < 0) {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    w.script.AnswerFileDialogs({});
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
}

QByteArray FileBytesOrEmpty(const QString& path) {
    QByteArray bytes;
    ReadWholeFile(path, bytes);
    return bytes;
}

} // namespace

// A save killed at any moment leaves the file as it was or as the save wrote it, whole; the next save (an
// hour later) clears what the killed ones left behind.
TEST(InterruptedSave, KilledSavesLeaveTheOldOrTheNewFileAndTheNextSaveClearsUp) {
    QElapsedTimer took;
    took.start();
    OpenMainWindow w;
    QTemporaryDir dir;
    // Two large kind-1 projects, opened through the main window.
    QByteArray variants[2];
    for (int v = 0; v < 2; ++v) {
        CDownloader_HTMLTags document;
        document.AddChild(u"Project1"_s, false)
            ->AddChild(u"main_keyword"_s, false)
            ->SetText(ManyKeywords(char('a' + v)));
        const QString source = dir.filePath(u"source%1.twpx"_s.arg(v));
        ASSERT_TRUE(SaveTreeToFile(document, source));
        w.script.AnswerFileDialogs({{source, 0}});
        w.dlg.OnCommand(u"open"_s, 0);
        ASSERT_EQ(w.dlg.m_projects.size(), size_t(v + 1));
        variants[v] = SavedFileBytes(ProjectFileTree(*w.dlg.m_projects[size_t(v)]));
    }
    ASSERT_GT(variants[0].size(), 512 << 10);

    const QString path = dir.filePath(u"big.twpx"_s);
    const auto duration = SaveInChild(w, path, std::chrono::microseconds(-1));
    QByteArray current = variants[1];
    ASSERT_EQ(FileBytesOrEmpty(path), current);

    int survivedOld = 0;
    for (int kill = 0; kill < 20; ++kill) {
        const int next = kill % 2;
        w.dlg.OnCommand(u"show_project"_s, next);
        SaveInChild(w, path, duration * kill / 16);
        QByteArray bytes;
        ASSERT_TRUE(ReadWholeFile(path, bytes));
        ASSERT_TRUE(bytes == current || bytes == variants[next]) << "kill " << kill << ": a torn file";
        survivedOld += bytes == current && current != variants[next];
        CDownloader_HTMLTags tree;
        ParseSavedFileBytes(tree, bytes);
        EXPECT_EQ(ProjectFileKind(tree), 1);

        // An hour passes before the next save.
        for (const QString& name : Temporaries(dir)) {
            const timeval old[2] = {{std::time(nullptr) - 7200, 0}, {std::time(nullptr) - 7200, 0}};
            ASSERT_EQ(::utimes(QFile::encodeName(dir.filePath(name)).constData(), old), 0);
        }
        SaveInChild(w, path, std::chrono::microseconds(-1));
        current = variants[next];
        ASSERT_TRUE(ReadWholeFile(path, bytes));
        EXPECT_EQ(bytes, current);
        EXPECT_TRUE(Temporaries(dir).isEmpty()) << "kill " << kill;
    }
    EXPECT_GT(survivedOld, 0) << "some kills came before the rename";
    EXPECT_LT(took.elapsed(), 30000);
}
