#include "net/crawler_folders.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// An XDG base folder: the variable when it holds an absolute path (relative ones are invalid and ignored),
// else the fallback under the home folder; empty without a home.
QString XdgFolder(const char* variable, const QString& homeFallback) {
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    const QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty() || !QDir::isAbsolutePath(home))
        return {};
    return QDir::cleanPath(home + u'/' + homeFallback);
}

} // namespace

CrawlerFolders CrawlerFolders::FromEnvironment() {
    CrawlerFolders folders;
    const QFileInfo self(u"/proc/self/exe"_s);
    folders.executable = self.canonicalFilePath();
    folders.appDir =
        folders.executable.isEmpty() ? QDir::currentPath() : QFileInfo(folders.executable).path();

    const QString data = XdgFolder("XDG_DATA_HOME", u".local/share"_s);
    // Without a home the files stay next to the program, as they did without a profile folder.
    folders.dataDir = data.isEmpty() ? folders.appDir : data + u"/Tarnwick 2.0"_s;

    const QString config = XdgFolder("XDG_CONFIG_HOME", u".config"_s);
    if (!config.isEmpty())
        folders.autostartFile = config + u"/autostart/tarnwick.desktop"_s;
    return folders;
}
