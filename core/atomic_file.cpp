#include "core/atomic_file.h"

#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString errnoText(int code) {
    char buffer[256];
    // The GNU strerror_r may return a static string instead of filling the buffer.
    const char* text = strerror_r(code, buffer, sizeof buffer);
    return QString::fromLocal8Bit(text);
}

bool fail(QString* error, const QString& what, int code) {
    if (error)
        *error = what + QStringLiteral(": ") + errnoText(code);
    return false;
}

bool writeAll(int fd, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

} // namespace

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    static std::atomic<unsigned> counter{0};
    const QFileInfo target(path);
    const QByteArray folder = QFile::encodeName(target.absolutePath());
    const QByteArray finalName = QFile::encodeName(target.absoluteFilePath());
    const QByteArray tempName = folder + '/' + '.' + QFile::encodeName(target.fileName()) + ".tmp-" +
                                QByteArray::number(::getpid()) + '-' + QByteArray::number(counter++);

    // 0666 lets the umask decide, as for any file the user creates.
    const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return fail(error, QStringLiteral("Cannot create ") + QFile::decodeName(tempName), errno);

    bool ok = writeAll(fd, bytes.constData(), bytes.size());
    int code = errno;
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        code = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        code = errno;
    }
    if (ok && ::rename(tempName.constData(), finalName.constData()) != 0) {
        ok = false;
        code = errno;
    }
    if (!ok) {
        ::unlink(tempName.constData());
        return fail(error, QStringLiteral("Cannot write ") + path, code);
    }

    // Make the rename itself durable; a failure here does not undo a complete write.
    const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool ReadWholeFile(const QString& path, QByteArray& bytes, QString* error) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fail(error, QStringLiteral("Cannot open ") + path, errno);
    QByteArray content;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int code = errno;
            ::close(fd);
            return fail(error, QStringLiteral("Cannot read ") + path, code);
        }
        if (got == 0)
            break;
        content.append(buffer, got);
    }
    ::close(fd);
    bytes = std::move(content);
    return true;
}
