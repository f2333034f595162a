#include "platform/shell.h"

#include <QCoreApplication>
#include <QFileInfo>
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

} // namespace

bool OpenUrl(const QString& url) {
    // A leading "-" would read as an option of the opener, and is no address anyway.
    if (url.startsWith(u'-'))
        return false;
    return StartOpener(url);
}

bool OpenFile(const QString& path) {
    if (path.isEmpty())
        return false;
    return StartOpener(QFileInfo(path).absoluteFilePath());
}

QString ProgramFolder() {
    return QCoreApplication::applicationDirPath();
}

} // namespace plat
