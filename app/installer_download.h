#pragma once

#include <QString>

// How a downloaded installer is named and how far its download has come.

// The file name an installer from url is saved under: the last segment of the URL's path, without query or
// fragment, percent-decoded. Empty when that is no name to save under: empty, ".", "..", or holding a "/"
// or a NUL once decoded.
QString InstallerFileName(const QString& url);

// Where in dataDir the installer from url is saved, or empty when it must not be: no usable file name, a
// name of the program's own files there (settings, the watch list, their companions and temporaries), a
// file that already exists, or a name too long for the file system to hold the file's temporary copy
// under. Then refusal (if given) receives the InstallerSaveError that says why.
QString InstallerSavePath(const QString& dataDir, const QString& url, QString* refusal = nullptr);

// The message of an installer that cannot be saved under name (the URL when it gives no usable name).
QString InstallerSaveError(const QString& name, const QString& reason);

// Percent of expected bytes received, 0 to 100 whatever the counts; 0 while nothing is expected.
int DownloadPercent(qint64 received, qint64 expected);
