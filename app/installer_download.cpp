#include "app/installer_download.h"

#include "core/atomic_file.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <unistd.h>

using namespace Qt::StringLiterals;

QString InstallerFileName(const QString& url) {
    const QString path = QUrl(url).path(QUrl::FullyEncoded);
    const QString name = QUrl::fromPercentEncoding(path.sliced(path.lastIndexOf(u'/') + 1).toUtf8());
    if (name.isEmpty() || name == "."_L1 || name == ".."_L1 || name.contains(u'/') || name.contains(QChar()))
        return QString();
    return name;
}

namespace {

// The name limit of the usual Linux file systems, for a folder that does not tell its own.
constexpr long kUsualNameMax = 255;

// The files the program keeps in its data folder. Their companions (a lock, a copy kept aside) add a
// suffix; temporaries of atomic saves are hidden files.
bool IsProgramFileName(const QString& name) {
    if (name.startsWith(u'.'))
        return true;
    for (const QString& own : {u"settings.zxml"_s, u"project5.zxml"_s, u"temp_img.jpeg"_s})
        if (name == own || name.startsWith(own + u'.'))
            return true;
    return false;
}

} // namespace

QString InstallerSavePath(const QString& dataDir, const QString& url, QString* refusal) {
    const QString name = InstallerFileName(url);
    const auto refuse = [refusal](const QString& shown, const QString& reason) {
        if (refusal)
            *refusal = InstallerSaveError(shown, reason);
        return QString();
    };
    if (name.isEmpty())
        return refuse(url, u"the address names no file"_s);
    if (IsProgramFileName(name))
        return refuse(name, u"the program keeps a file of its own under that name"_s);
    // The installer is written through a temporary file whose name is longer than its own.
    const long nameMax = ::pathconf(QFile::encodeName(dataDir).constData(), _PC_NAME_MAX);
    if (QFile::encodeName(name).size() > LongestAtomicFileName(nameMax > 0 ? nameMax : kUsualNameMax))
        return refuse(name, u"the name is too long for the file system"_s);
    const QString path = dataDir + u'/' + name;
    if (QFileInfo(path).exists() || QFileInfo(path).isSymLink())
        return refuse(name, u"a file of that name is already there"_s);
    return path;
}

QString InstallerSaveError(const QString& name, const QString& reason) {
    return u"Cannot save temporary installer file "_s + name + u": "_s + reason;
}

int DownloadPercent(qint64 received, qint64 expected) {
    if (expected <= 0 || received <= 0)
        return 0;
    if (received >= expected)
        return 100;
    // In floating point no count overflows the product; 100 only once all has come.
    return qMin(99, int(double(received) * 100.0 / double(expected)));
}
