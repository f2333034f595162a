#pragma once

#include "core/atomic_file.h"
#include "net/html_tags.h"

#include <QString>

// The one text form of every file the system writes for itself (settings, projects, the monitoring list):
// the tree's text in UTF-8 with CR LF line ends, three-space indentation and one 0x00 byte at the end.

// Writes the document whose top-level nodes are root's children. Values are escaped so that they read
// back exactly. The write is atomic: on any failure false is returned and an existing file is untouched.
bool SaveTreeToFile(const CDownloader_HTMLTags& root, const QString& path,
                    FileAccess access = FileAccess::ByUmask);

// The bytes SaveTreeToFile writes.
QByteArray SavedFileBytes(const CDownloader_HTMLTags& root);

// Replaces root with the document read from path. A file that cannot be read leaves root unchanged and
// returns false; a damaged file still yields whatever elements can be found. whole (if given) tells whether
// the file stood as it was written: every element closed by its own end tag, in order. One that lost an end
// tag reads with the elements after it moved inside the one left open, where their owner no longer finds
// them.
bool LoadTreeFromFile(CDownloader_HTMLTags& root, const QString& path, bool* whole = nullptr);

// The text of a saved file: its bytes decoded as ParseSavedFileBytes decodes them, read and decoded piece by
// piece. False when the file cannot be opened or read.
bool ReadSavedFileText(const QString& path, QString& text);

// Whether the document's top-level element named name (any case) is there and complete. A file cut short
// (a crash or a full disk while it was copied) loses the root's end tag last of all, so an open root
// element means values are missing from it; a file whose end was damaged reads so too.
bool SavedRootClosed(const CDownloader_HTMLTags& root, const QString& name);

// Parses saved-file bytes (UTF-8, a trailing 0x00 allowed) into root.
void ParseSavedFileBytes(CDownloader_HTMLTags& root, const QByteArray& bytes);
