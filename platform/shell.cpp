#include "platform/shell.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

using namespace Qt::StringLiterals;

namespace plat {

namespace {

bool startOpener(const QString& target) {
    if (target.isEmpty())
        return false;
    // One argument, no shell: nothing in the target can be taken for a command.
    return QProcess::startDetached(u"xdg-open"_s, QStringList{target});
}

} // namespace

bool openUrl(const QString& url) {
    // A leading "-" would read as an option of the opener, and is no address anyway.
    if (url.startsWith(u'-'))
        return false;
    return startOpener(url);
}

bool openFile(const QString& path) {
    if (path.isEmpty())
        return false;
    return startOpener(QFileInfo(path).absoluteFilePath());
}

QString programFolder() {
    return QCoreApplication::applicationDirPath();
}

} // namespace plat
