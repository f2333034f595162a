#include "net/saved_file.h"

#include "core/atomic_file.h"

QByteArray SavedFileBytes(const CDownloader_HTMLTags& root) {
    QByteArray bytes = root.ToText(QString(), CDownloader_HTMLTags::Escaping::Values).toUtf8();
    bytes.append('\0');
    return bytes;
}

bool SaveTreeToFile(const CDownloader_HTMLTags& root, const QString& path) {
    return WriteFileAtomically(path, SavedFileBytes(root));
}

void ParseSavedFileBytes(CDownloader_HTMLTags& root, const QByteArray& bytes) {
    // No header is split off at a blank line: that belongs to web replies, and a saved value may hold one.
    root.Parse(QString::fromUtf8(bytes));
}

bool LoadTreeFromFile(CDownloader_HTMLTags& root, const QString& path) {
    QByteArray bytes;
    if (!ReadWholeFile(path, bytes))
        return false;
    ParseSavedFileBytes(root, bytes);
    return true;
}
