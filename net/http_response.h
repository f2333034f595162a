#pragma once

#include "net/chunked_decoder.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

// The pieces of HTTP response processing that work on bytes alone: finding the end of the header block,
// reading the headers that matter, removing chunked coding and inflating compressed bodies.

// The one rule for where an HTTP reply's header block ends: the reply's first line begins with "HTTP/", and
// the header is everything before its first blank line (lines end in LF or CR LF), found only when the line
// break before that blank line lies within the first searchLimit bytes. Any other reply has no header: it
// is all body.
//
// Fed the reply while it arrives, each call searches only the bytes added since the last one, so a reply
// without a header end costs linear time; the answer never depends on how the reply was cut into calls.
class HeaderEndScanner {
  public:
    enum class State {
        Undecided, // more bytes are needed to tell
        Found,
        NoHeader,
    };

    explicit HeaderEndScanner(qsizetype searchLimit);

    // data is the whole reply so far (a prefix of what the next call gets).
    State Scan(QByteArrayView data);
    bool Decided() const { return m_state != State::Undecided; }
    bool Found() const { return m_state == State::Found; }
    // Bytes before the blank line, and where the body starts; -1 and 0 unless found.
    qsizetype HeaderLength() const { return m_headerLength; }
    qsizetype BodyStart() const { return m_bodyStart; }

  private:
    qsizetype m_searchLimit;
    State m_state = State::Undecided;
    bool m_statusLineSeen = false;
    // The next byte to look at for a line feed.
    qsizetype m_next = 0;
    qsizetype m_headerLength = -1;
    qsizetype m_bodyStart = 0;
};

// Where a reply's header block ends and its body starts.
struct HeaderSplit {
    // Bytes before the blank line; -1 when there is no header block and the whole reply is body.
    qsizetype headerLength = -1;
    qsizetype bodyStart = 0;
};

// The scanner's rule over a whole reply: a reply that ends before the rule can tell has no header.
HeaderSplit SplitHeaderBlock(QByteArrayView reply, qsizetype searchLimit);

// The status line of a reply as sent: its code (0 when the reply had none) and its reason phrase.
struct HttpStatus {
    int code = 0;
    QString reason;

    // A 4xx or 5xx reply (or a code beyond): the server answered, but not with the page asked for.
    bool IsError() const { return code >= 400; }
    // "HTTP error 404 Not Found"; the reason phrase left out when the reply gave none.
    QString ErrorText() const;
};

// What response processing reads from the header text.
struct ResponseHead {
    // 200 unless the status line says otherwise.
    int status = 200;
    // The status line itself; no code when there was none.
    HttpStatus statusLine;
    // As sent, trimmed; empty when there is none.
    QString location;
    // Trimmed, lower case.
    QString contentCoding;
    // The codings of every Transfer-Encoding line, in the order applied: lower case, trimmed, none empty.
    QStringList transferCodings;
    // The Content-Length when every such line holds the same plain digits; none otherwise.
    std::optional<qint64> contentLength;
    // The value of every Set-Cookie line, in order.
    QStringList setCookies;
};

// Reads every line of header (split at CR and at LF); unknown lines are ignored.
ResponseHead ParseResponseHead(const QString& header);

// Removes chunked transfer coding from body in place, in one pass; body keeps the data of every chunk
// read (a truncated last chunk keeps what arrived). Chunk extensions after ";" are skipped.
DechunkResult Dechunk(QByteArray& body);

enum class InflateResult {
    Done,     // out holds the inflated bytes (of a stream that may have been cut short)
    Failed,   // the stream is broken; out is empty
    TooLarge, // inflating would give more than maxOutput bytes; out is empty
};

// Inflates a gzip (gzipWrapper) or zlib stream; out grows geometrically and never beyond maxOutput.
InflateResult InflateBody(QByteArrayView in, bool gzipWrapper, qsizetype maxOutput, QByteArray& out);

// InflateBody within the inflate limit, in place. A broken stream leaves body as it was and returns false
// with no error text (it is then read as it stands); a stream too large to inflate does the same with a
// "Receive error: " text.
bool InflateWithinLimit(QByteArray& body, bool gzipWrapper, QString& error);

// Whether the last transfer coding is "chunked" (parameters aside): the one that comes off first.
bool EndsChunked(const QStringList& codings);

// Undoes the transfer codings of a body in place: de-chunks when the last is "chunked", then undoes the
// others right to left. A repeated "chunked" declares the one chunked coding again. error receives a
// "Receive error: " text when the body was cut short, too large to inflate or in an unknown coding. False
// when a coding could not be undone: the body keeps the bytes as far as they were decoded. dechunked: the
// chunked coding already came off as the body arrived, with that result.
bool UndoTransferCodings(const QStringList& codings, QByteArray& body, QString& error,
                         std::optional<DechunkResult> dechunked = std::nullopt);
