#pragma once

// What the targets that build project kinds share: the offscreen application, the skin atlas, a crawler
// whose data folder (where the kind-5 watch list lives) is in memory, and a dialog to build the views in.

#include "app/project_exporter.h"
#include "net/crawler.h"
#include "platform/device_context.h"
#include "projects/kind5/project5.h"
#include "projects/kind5/project5_list_lock.h"
#include "resources/skin_resources.h"
#include "skin/skin_atlas.h"
#include "skin/skin_dlg.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace fuzzprojects {

inline void Check(bool holds) {
    if (!holds)
        __builtin_trap();
}

// What the user sees of a project's reports: the exported cells, counted.
class CountingExporter : public CProjectExporter {
  public:
    void Cell(const QString& text, bool, int, float) override { Add(text); }
    void LinkCell(const QString& text, const QString& url, bool, int, float) override {
        Add(text);
        Add(url);
    }

    qsizetype cells = 0;
    qsizetype text = 0;

  private:
    void Add(const QString& cell) {
        ++cells;
        text += cell.size();
    }
};

// The window the views are built in; it is never shown.
class ViewDialog : public CSkinDlg {
  public:
    void CreateElements() override {}
    void DrawBackground(plat::DeviceContext&) override {}
};

// One for the process. It holds the watch list's lock for the whole run, so kind 5 does not make and remove
// the lock file at every input.
class Ground {
  public:
    Ground() : m_folder(RunFolder()) {
        m_atlas.loadImage(skin_resources::AtlasPath());
        skin::SetAtlas(&m_atlas);
        const QString data = m_folder + QStringLiteral("/data");
        QDir().mkpath(data);
        m_crawler = std::make_unique<CProjectCrawler>(
            CrawlerFolders{m_folder, data, QString(), m_folder + QStringLiteral("/tarnwick")});
        g_pCrawler = m_crawler.get();
        dialog.m_pAtlasDC = &m_atlas;
        m_listHold = CProject5_ListLock::Take(CProject5::ListPath());
        Check(m_listHold != nullptr);
    }

    // Made once, on the offscreen platform, from LLVMFuzzerInitialize.
    static Ground& Make(int* argc, char*** argv) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static QApplication app(*argc, *argv);
        static Ground ground;
        return ground;
    }

    // Writes bytes to name in the run's folder; the path.
    QString Write(const QString& name, const QByteArray& bytes) const {
        return WriteFile(m_folder + u'/' + name, bytes);
    }

    static QString WriteFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
        return path;
    }

    static QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    ViewDialog dialog;

  private:
    // The folder of this run, named by the process id, in memory where there is a memory file system. A
    // target ends without running destructors, so the folders of runs whose process is gone are removed
    // first.
    static QString RunFolder() {
        const QDir base(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                  : QDir::tempPath());
        const QString prefix = QStringLiteral("tw_fuzz_");
        for (const QString& name : base.entryList({prefix + u'*'}, QDir::Dirs)) {
            bool number = false;
            const qint64 pid = name.mid(prefix.size()).toLongLong(&number);
            if (number && pid > 0 && kill(pid_t(pid), 0) != 0 && errno == ESRCH)
                QDir(base.filePath(name)).removeRecursively();
        }
        const QString folder = base.filePath(prefix + QString::number(getpid()));
        Check(QDir().mkpath(folder));
        return folder;
    }

    QString m_folder;
    plat::DeviceContext m_atlas;
    std::unique_ptr<CProjectCrawler> m_crawler;
    std::shared_ptr<QLockFile> m_listHold;
};

} // namespace fuzzprojects
