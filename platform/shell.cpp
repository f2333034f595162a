#include "platform/shell.h"

#include "platform/host_widget.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>

using namespace Qt::StringLiterals;

namespace plat {

namespace {

bool StartOpener(const QString& target) {
    if (target.isEmpty())
        return false;
    // One argument, no shell: nothing in the target can be taken for a command.
    return QProcess::startDetached(u"xdg-open"_s, QStringList{target});
}

// An opener being watched. One still running when the program ends is ended with it, unheard: that is only
// the opener, and a viewer it started runs on.
class WatchedOpener final : public QProcess {
  public:
    using QProcess::QProcess;
    WatchedOpener(const WatchedOpener&) = delete;
    WatchedOpener& operator=(const WatchedOpener&) = delete;
    ~WatchedOpener() override {
        if (state() != NotRunning) {
            disconnect();
            kill();
            waitForFinished();
        }
    }
};

} // namespace

bool OpenUrl(const QString& url) {
    // A leading "-" would read as an option of the opener, and is no address anyway.
    if (url.startsWith(u'-'))
        return false;
    return StartOpener(url);
}

void OpenFileWatched(const QString& path, const Window& owner, std::function<void()> onFailure) {
    const QPointer<HostWidget> host(static_cast<HostWidget*>(owner.widget()));
    const auto fail = [host, onFailure = std::move(onFailure)] {
        if (host && host->owner())
            onFailure();
    };
    const QString target = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    if (target.isEmpty() || !QFileInfo(target).isFile()) {
        fail();
        return;
    }
    auto* opener = new WatchedOpener(QCoreApplication::instance());
    // A viewer that the opener runs in its place inherits these, and may outlive it: it gets no pipe of
    // ours to write into.
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(opener, &QProcess::finished, opener,
                     [opener, fail](int code, QProcess::ExitStatus status) {
                         opener->deleteLater();
                         if (status != QProcess::NormalExit || code != 0)
                             fail();
                     });
    QObject::connect(opener, &QProcess::errorOccurred, opener, [opener, fail](QProcess::ProcessError error) {
        // A crash also ends in finished; only a start that failed ends here alone.
        if (error != QProcess::FailedToStart)
            return;
        opener->deleteLater();
        fail();
    });
    // One argument, no shell, as for a URL.
    opener->start(u"xdg-open"_s, QStringList{target});
}

QString ProgramFolder() {
    return QCoreApplication::applicationDirPath();
}

} // namespace plat
