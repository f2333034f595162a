#pragma once

#include <QByteArray>
#include <QString>

// Who may read a file the program writes: whoever the user's umask lets, or the user alone (files that hold
// passwords).
enum class FileAccess { ByUmask, UserOnly };

// Writes bytes to path through a temporary file in the same folder, flushed to disk and renamed over the
// target, so a reader sees the old file or the new one, never a torn one. On failure the temporary file is
// removed, the old file is untouched, false is returned and error (if given) holds the reason. The first save
// to a target in a run also removes the temporary files that killed saves to it left more than an hour ago.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr,
                         FileAccess access = FileAccess::ByUmask);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const QString& path, QByteArray& bytes, QString* error = nullptr);
