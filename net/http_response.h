#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// The pieces of HTTP response processing that work on bytes alone: finding the end of the header block,
// reading the headers that matter, removing chunked coding and inflating compressed bodies.

// Finds the end of the header block while a response arrives: each call searches only the bytes added
// since the last one, so a response without a header end costs linear time. The end is the first blank
// line, "\n\n" or "\r\n\r\n"; nothing beyond searchLimit bytes is searched.
class HeaderEndScanner {
  public:
    explicit HeaderEndScanner(qsizetype searchLimit);

    // data is the whole response so far (a prefix of what the next call gets). True once the end is found.
    bool Scan(QByteArrayView data);
    bool Found() const { return m_headerLength >= 0; }
    // Bytes before the blank line, -1 until found.
    qsizetype HeaderLength() const { return m_headerLength; }

  private:
    qsizetype m_searchLimit;
    qsizetype m_scanned = 0;
    qsizetype m_headerLength = -1;
};

// Where a reply's header block ends and its body starts.
struct HeaderSplit {
    // Bytes before the blank line; -1 when there is no header block and the whole reply is body.
    qsizetype headerLength = -1;
    qsizetype bodyStart = 0;
};

// The rule response processing cuts a whole reply by: the first "\r\n\r\n" that starts within the first
// searchLimit bytes ends the header block.
HeaderSplit SplitHeaderBlock(QByteArrayView reply, qsizetype searchLimit);

// What response processing reads from the header text.
struct ResponseHead {
    int status = 200;
    // As sent, trimmed; empty when there is none.
    QString location;
    // Trimmed, lower case.
    QString contentCoding;
    bool chunked = false;
    // The value of every Set-Cookie line, in order.
    QStringList setCookies;
};

// Reads every line of header (split at CR and at LF); unknown lines are ignored.
ResponseHead ParseResponseHead(const QString& header);

enum class DechunkResult {
    Complete,  // the closing chunk of size 0 was read
    Truncated, // the data ended inside a chunk or before the closing chunk
    Malformed, // a size line held no hexadecimal size, or a size too large for any body
};

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
