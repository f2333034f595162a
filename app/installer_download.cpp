#include "app/installer_download.h"

#include "core/number_text.h"

#include <QUrl>

using namespace Qt::StringLiterals;

QString InstallerFileName(const QString& url) {
    const QString path = QUrl(url).path(QUrl::FullyEncoded);
    const QString name = QUrl::fromPercentEncoding(path.sliced(path.lastIndexOf(u'/') + 1).toUtf8());
    if (name.isEmpty() || name == "."_L1 || name == ".."_L1 || name.contains(u'/') || name.contains(QChar()))
        return QString();
    return name;
}

qint64 AnnouncedLength(const QString& header) {
    const QString lower = header.toLower();
    const qsizetype key = lower.indexOf(u"content-length:"_s);
    if (key < 0)
        return 0;
    const qsizetype colon = lower.indexOf(u':', key);
    qsizetype lineEnd = lower.indexOf(u'\n', colon);
    if (lineEnd < 0)
        lineEnd = lower.size();
    return qMax<qint64>(
        0, number_text::ReadInt64(QStringView(lower).sliced(colon + 1, lineEnd - colon - 1)).value_or(0));
}

int DownloadPercent(qint64 received, qint64 expected) {
    if (expected <= 0 || received <= 0)
        return 0;
    if (received >= expected)
        return 100;
    // In floating point no count overflows the product; 100 only once all has come.
    return qMin(99, int(double(received) * 100.0 / double(expected)));
}
