#include "net/crawler_autostart.h"

#include "core/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

QString DesktopExecArgument(const QString& program) {
    QString quoted = u"\""_s;
    for (const QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        else if (c == u'%')
            quoted += u'%';
        quoted += c;
    }
    quoted += u'"';

    // The file's string escapes are undone before the quoting, so they are applied last.
    QString escaped;
    for (const QChar c : quoted) {
        switch (c.unicode()) {
        case u'\\':
            escaped += u"\\\\";
            break;
        case u'\n':
            escaped += u"\\n";
            break;
        case u'\t':
            escaped += u"\\t";
            break;
        case u'\r':
            escaped += u"\\r";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

QString AutostartEntryText(const QString& executable) {
    return u"[Desktop Entry]\n"
           u"Type=Application\n"
           u"Name=Tarnwick 2.0\n"
           u"Exec="_s +
           DesktopExecArgument(executable) + u' ' + QString::fromUtf16(kAutostartSwitch) +
           u"\n"
           u"Terminal=false\n"_s;
}

bool WriteAutostartEntry(const QString& entryPath, const QString& executable) {
    if (!QDir().mkpath(QFileInfo(entryPath).absolutePath()))
        return false;
    return WriteFileAtomically(entryPath, AutostartEntryText(executable).toUtf8());
}

bool RemoveAutostartEntry(const QString& entryPath) {
    QFile entry(entryPath);
    return !entry.exists() || entry.remove();
}

bool HasAutostartEntry(const QString& entryPath) {
    const QFileInfo entry(entryPath);
    return entry.isFile() && entry.isReadable() && entry.size() > 0;
}
