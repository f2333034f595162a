#include "net/saved_file.h"

#include "core/atomic_file.h"
#include "core/text_convert.h"
#include "net/utf8_writer.h"

namespace {

void WriteSavedFile(const CDownloader_HTMLTags& root, Utf8Writer& out) {
    root.ToUtf8Text(CDownloader_HTMLTags::Escaping::Values, out);
    // The terminating 0x00 is part of the format.
    out.append(u'\0');
}

} // namespace

QByteArray SavedFileBytes(const CDownloader_HTMLTags& root) {
    Utf8Writer out;
    WriteSavedFile(root, out);
    return out.Finish();
}

bool SaveTreeToFile(const CDownloader_HTMLTags& root, const QString& path, FileAccess access) {
    // Written as it is made: a large project needs no copy of its whole file in memory.
    return WriteFileAtomicallyInChunks(
        path,
        [&root](const FileChunkWriter& write) {
            Utf8Writer out(write);
            WriteSavedFile(root, out);
            out.Finish();
            return out.Ok();
        },
        nullptr, access);
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

bool SavedRootClosed(const CDownloader_HTMLTags& root, const QString& name) {
    bool found = false;
    for (const CDownloader_HTMLTags& child : root.GetChildren()) {
        if (!child.IsElementNamed(name))
            continue;
        if (!child.IsClosed())
            return false;
        found = true;
    }
    return found;
}
