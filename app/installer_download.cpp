#include "app/installer_download.h"

#include <QUrl>

using namespace Qt::StringLiterals;

QString InstallerFileName(const QString& url) {
    const QString path = QUrl(url).path(QUrl::FullyEncoded);
    const QString name = QUrl::fromPercentEncoding(path.sliced(path.lastIndexOf(u'/') + 1).toUtf8());
    if (name.isEmpty() || name == "."_L1 || name == ".."_L1 || name.contains(u'/') || name.contains(QChar()))
        return QString();
    return name;
}

int DownloadPercent(qint64 received, qint64 expected) {
    if (expected <= 0 || received <= 0)
        return 0;
    if (received >= expected)
        return 100;
    // In floating point no count overflows the product; 100 only once all has come.
    return qMin(99, int(double(received) * 100.0 / double(expected)));
}
