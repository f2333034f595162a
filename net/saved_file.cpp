#include "net/saved_file.h"

#include "core/atomic_file.h"
#include "core/text_convert.h"

QByteArray SavedFileBytes(const CDownloader_HTMLTags& root) {
    // The terminating 0x00 is part of the format.
    return WideToUtf8(root.ToText(QString(), CDownloader_HTMLTags::Escaping::Values));
}

bool SaveTreeToFile(const CDownloader_HTMLTags& root, const QString& path, FileAccess access) {
    return WriteFileAtomically(path, SavedFileBytes(root), nullptr, access);
}

void ParseSavedFileBytes(CDownloader_HTMLTags& root, const QByteArray& bytes) {
    // No header is split off at a blank line: that belongs to web replies, and a saved value may hold one.
    root.Parse(Utf8ToWide(bytes));
}

bool LoadTreeFromFile(CDownloader_HTMLTags& root, const QString& path) {
    QByteArray bytes;
    if (!ReadWholeFile(path, bytes))
        return false;
    ParseSavedFileBytes(root, bytes);
    return true;
}
