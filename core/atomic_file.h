#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// Who may read a file the program writes: whoever the user's umask lets, or the user alone (files that hold
// passwords).
enum class FileAccess { ByUmask, UserOnly };

// Writes bytes to path through a temporary file in the same folder, flushed to disk and renamed over the
// target, so a reader sees the old file or the new one, never a torn one. On failure the temporary file is
// removed, the old file is untouched, false is returned and error (if given) holds the reason. The first save
// to a target in a run also removes the temporary files that killed saves to it left more than an hour ago.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr,
                         FileAccess access = FileAccess::ByUmask);

// The longest name, in bytes, that a file written atomically may have in a folder whose file system takes
// names of up to nameMax bytes: the name of its temporary file is longer.
qsizetype LongestAtomicFileName(qsizetype nameMax);

// The same for a file made piece by piece: produce hands every piece to the writer it gets, in order, and
// answers false when it fails itself (the old file then stays). The writer answers false once writing
// failed; produce may stop then.
using FileChunkWriter = std::function<bool(QByteArrayView chunk)>;
bool WriteFileAtomicallyInChunks(const QString& path,
                                 const std::function<bool(const FileChunkWriter&)>& produce,
                                 QString* error = nullptr, FileAccess access = FileAccess::ByUmask);

enum class FileReadResult {
    Read,
    Absent,     // nothing at the path (a link to nothing included)
    Unreadable, // something is there, and it could not be read whole
};

// Reads a whole regular file (also through a link). Never blocks: a FIFO, a device or a folder is not read
// but Unreadable, as is a file larger than limits::kMaxReadFileBytes, or one that grows beyond it while it
// is read. bytes changes only when the file was read; error (if given) receives the reason otherwise.
FileReadResult ReadFileOrAbsent(const QString& path, QByteArray& bytes, QString* error = nullptr);

// ReadFileOrAbsent for callers that only need to know whether the file was read.
bool ReadWholeFile(const QString& path, QByteArray& bytes, QString* error = nullptr);
