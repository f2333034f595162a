#include "core/atomic_file.h"

#include "core/limits.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A temporary file whose writer is gone was left by a save that was killed. One younger than this may still
// belong to a save in another PID namespace that shares the folder, so it is left alone.
constexpr std::time_t kStaleTemporaryAgeSeconds = 3600;

// A name taken (by a leftover or by another thread) moves on to the next counter; this many taken names in a
// row means something else fills the folder.
constexpr int kCreateAttempts = 100;

// A temporary file is named "." + the target's name + this + "<pid>-<counter>".
constexpr char kTemporaryMark[] = ".tmp-";
// The most bytes that adds to the target's name.
constexpr qsizetype kTemporaryNameExtraBytes = 1 + qsizetype(sizeof kTemporaryMark - 1) +
                                               std::numeric_limits<pid_t>::digits10 + 1 + 1 +
                                               std::numeric_limits<unsigned>::digits10 + 1;

// The writer's PID from the "<pid>-<counter>" that follows a temporary file's prefix, or 0.
pid_t WriterPid(const char* rest) {
    long long pid = 0;
    const char* at = rest;
    for (; *at >= '0' && *at <= '9' && pid <= INT32_MAX; ++at)
        pid = pid * 10 + (*at - '0');
    if (at == rest || *at != '-' || pid <= 0 || pid > INT32_MAX)
        return 0;
    return static_cast<pid_t>(pid);
}

bool IsLiveProcess(pid_t pid) {
    // EPERM: it lives, under another user.
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

// Removes the temporary files of earlier saves to this target that were killed before they could clean up.
void RemoveStaleTemporaries(const QByteArray& folder, const QByteArray& prefix) {
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return;
    const std::time_t oldest = std::time(nullptr) - kStaleTemporaryAgeSeconds;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strncmp(entry->d_name, prefix.constData(), static_cast<size_t>(prefix.size())) != 0)
            continue;
        const pid_t pid = WriterPid(entry->d_name + prefix.size());
        struct stat info {};
        if (pid == 0 || ::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode) || info.st_mtime > oldest || IsLiveProcess(pid))
            continue;
        ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

// True the first time a run saves to target: the folder is looked through for leftovers once, not on every
// save.
bool FirstSaveTo(const QByteArray& target) {
    static std::mutex mutex;
    static std::set<QByteArray> seen;
    const std::lock_guard lock(mutex);
    return seen.insert(target).second;
}

QString ErrnoText(int code) {
    char buffer[256];
    // The GNU strerror_r may return a static string instead of filling the buffer.
    const char* text = strerror_r(code, buffer, sizeof buffer);
    return QString::fromLocal8Bit(text);
}

bool Fail(QString* error, const QString& what, int code) {
    if (error)
        *error = what + QStringLiteral(": ") + ErrnoText(code);
    return false;
}

bool WriteAll(int fd, const char* data, qsizetype size) {
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

qsizetype LongestAtomicFileName(qsizetype nameMax) {
    return std::max<qsizetype>(nameMax - kTemporaryNameExtraBytes, 0);
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error, FileAccess access) {
    return WriteFileAtomicallyInChunks(
        path, [&bytes](const FileChunkWriter& write) { return write(bytes); }, error, access);
}

bool WriteFileAtomicallyInChunks(const QString& path,
                                 const std::function<bool(const FileChunkWriter&)>& produce, QString* error,
                                 FileAccess access) {
    static std::atomic<unsigned> counter{0};
    const QFileInfo target(path);
    const QByteArray folder = QFile::encodeName(target.absolutePath());
    const QByteArray finalName = QFile::encodeName(target.absoluteFilePath());
    const QByteArray prefix = '.' + QFile::encodeName(target.fileName()) + kTemporaryMark;
    if (FirstSaveTo(finalName))
        RemoveStaleTemporaries(folder, prefix);

    // A killed run's PID comes round again, and with it the names of its leftovers: a taken name is skipped.
    QByteArray tempName;
    int fd = -1;
    for (int attempt = 0; attempt < kCreateAttempts && fd < 0; ++attempt) {
        tempName =
            folder + '/' + prefix + QByteArray::number(::getpid()) + '-' + QByteArray::number(counter++);
        // 0666 lets the umask decide, as for any file the user creates. The mode is set as the file is made,
        // so a private file is never readable by others, not even before the rename.
        fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    access == FileAccess::UserOnly ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return Fail(error, QStringLiteral("Cannot create ") + QFile::decodeName(tempName), errno);

    bool written = true;
    int code = 0;
    const FileChunkWriter write = [&](QByteArrayView chunk) {
        if (written && !WriteAll(fd, chunk.data(), chunk.size())) {
            written = false;
            code = errno;
        }
        return written;
    };
    bool ok = produce(write) && written;
    if (ok)
        code = 0;
    else if (written)
        code = EIO;
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
        return Fail(error, QStringLiteral("Cannot write ") + path, code);
    }

    // Make the rename itself durable; a failure here does not undo a complete write.
    const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

namespace {

FileReadResult Unreadable(QString* error, const QString& reason) {
    if (error)
        *error = reason;
    return FileReadResult::Unreadable;
}

// Closes the descriptor whatever way the read ends.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }

  private:
    int m_fd;
};

} // namespace

FileReadResult ReadFileOrAbsent(const QString& path, QByteArray& bytes, QString* error) {
    const QByteArray name = QFile::encodeName(path);
    // Non-blocking, so that opening a FIFO with no writer returns at once; it is then refused below.
    const FileDescriptor file(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.Get() < 0) {
        const int code = errno;
        Fail(error, QStringLiteral("Cannot open ") + path, code);
        return code == ENOENT ? FileReadResult::Absent : FileReadResult::Unreadable;
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) {
        const int code = errno;
        Fail(error, QStringLiteral("Cannot read ") + path, code);
        return FileReadResult::Unreadable;
    }
    if (!S_ISREG(info.st_mode))
        return Unreadable(error,
                          QStringLiteral("Cannot read ") + path + QStringLiteral(": not a regular file"));
    const QString tooLarge = QStringLiteral("Cannot read ") + path +
                             QStringLiteral(": larger than %1 MB").arg(limits::kMaxReadFileBytes >> 20);
    if (info.st_size > limits::kMaxReadFileBytes)
        return Unreadable(error, tooLarge);
    // A regular file reads the same either way; blocking reads just leave no EAGAIN to think about.
    ::fcntl(file.Get(), F_SETFL, ::fcntl(file.Get(), F_GETFL) & ~O_NONBLOCK);

    QByteArray content;
    content.reserve(qsizetype(info.st_size) + 1);
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int code = errno;
            Fail(error, QStringLiteral("Cannot read ") + path, code);
            return FileReadResult::Unreadable;
        }
        if (got == 0)
            break;
        // The file may grow while it is read.
        if (content.size() + got > limits::kMaxReadFileBytes)
            return Unreadable(error, tooLarge);
        content.append(buffer, got);
    }
    bytes = std::move(content);
    return FileReadResult::Read;
}

bool ReadWholeFile(const QString& path, QByteArray& bytes, QString* error) {
    return ReadFileOrAbsent(path, bytes, error) == FileReadResult::Read;
}
