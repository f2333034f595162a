#include "net/saved_file.h"

#include "core/atomic_file.h"
#include "core/page_prefault.h"
#include "core/text_convert.h"
#include "net/utf8_writer.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Bytes read at a time: few enough that they are still in the cache when they are decoded.
constexpr qsizetype kReadPiece = 64 * 1024;
// How far ahead of the decoding the text's pages are mapped, a stretch at a time: long enough to hold
// whole 2 MB pages wherever it starts.
constexpr qsizetype kPrefaultAheadChars = 2 * 1024 * 1024;

void WriteSavedFile(const CDownloader_HTMLTags& root, Utf8Writer& out) {
    root.ToUtf8Text(CDownloader_HTMLTags::Escaping::Values, out);
    // The terminating 0x00 is part of the format.
    out.Append(u'\0');
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int Get() const { return m_fd; }

  private:
    int m_fd;
};

// The length of the bytes that can be decoded apart from what follows them: up to and including the last
// ASCII byte, after which no sequence is pending (0 when there is none).
qsizetype CompleteLength(const char* bytes, qsizetype size) {
    for (qsizetype i = size; i > 0; --i)
        if (static_cast<unsigned char>(bytes[i - 1]) < 0x80)
            return i;
    return 0;
}

// Decodes the file piece by piece as it is read: the bytes pass through a small buffer, and no copy of the
// whole file in bytes is ever made. Each piece ends after an ASCII byte, where decoding the whole would be at
// a character boundary too, so the text is exactly what decoding all the bytes at once gives.
class Utf8FileDecoder {
  public:
    explicit Utf8FileDecoder(qsizetype expectedBytes)
        : m_decoder(QStringDecoder::Utf8,
                    QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom),
          m_text(m_decoder.requiredSpace(expectedBytes), Qt::Uninitialized), m_expectedBytes(expectedBytes) {}

    void Decode(QByteArrayView bytes) {
        const qsizetype room = m_decoder.requiredSpace(bytes.size());
        if (m_used + room > m_text.size())
            m_text.resize(std::max(m_used + room, 2 * m_text.size()));
        // Mapped a stretch ahead, no further than the bytes still expected can fill (a character takes at
        // least one byte).
        if (m_used + room > m_prefaulted) {
            const qsizetype ahead =
                std::max(room, std::min(kPrefaultAheadChars, m_expectedBytes - m_consumed));
            const qsizetype upTo = std::min(m_text.size(), m_used + ahead);
            if (upTo > m_prefaulted)
                PrefaultForWriting(m_text.data() + m_prefaulted,
                                   std::size_t(upTo - m_prefaulted) * sizeof(QChar));
            m_prefaulted = std::max(m_prefaulted, upTo);
        }
        const QChar* end = m_decoder.appendToBuffer(m_text.data() + m_used, bytes);
        m_used = end - m_text.constData();
        m_consumed += bytes.size();
    }

    QString Take() {
        m_text.truncate(m_used);
        return std::move(m_text);
    }

  private:
    QStringDecoder m_decoder;
    QString m_text;
    qsizetype m_expectedBytes;
    qsizetype m_consumed = 0;
    qsizetype m_used = 0;
    qsizetype m_prefaulted = 0;
};

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

bool ReadSavedFileText(const QString& path, QString& text) {
    const FileDescriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0)
        return false;
    struct stat info {};
    const qsizetype expected = ::fstat(file.Get(), &info) == 0 && S_ISREG(info.st_mode) ? info.st_size : 0;
    Utf8FileDecoder decoder(expected);
    // Holds one piece and what the last one left undecoded (more only for a file without ASCII bytes).
    std::vector<char> buffer(2 * kReadPiece);
    qsizetype held = 0;
    for (;;) {
        if (qsizetype(buffer.size()) - held < kReadPiece)
            buffer.resize(2 * buffer.size());
        const ssize_t got = ::read(file.Get(), buffer.data() + held, std::size_t(kReadPiece));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        const qsizetype size = held + got;
        const qsizetype complete = got == 0 ? size : CompleteLength(buffer.data(), size);
        decoder.Decode(QByteArrayView(buffer.data(), complete));
        held = size - complete;
        std::memmove(buffer.data(), buffer.data() + complete, std::size_t(held));
        if (got == 0)
            break;
    }
    text = decoder.Take();
    return true;
}

bool LoadTreeFromFile(CDownloader_HTMLTags& root, const QString& path, bool* whole) {
    QString text;
    if (!ReadSavedFileText(path, text))
        return false;
    const bool nested = root.ParseNested(text);
    if (whole)
        *whole = nested;
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
