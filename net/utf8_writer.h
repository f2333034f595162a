#pragma once

#include <QByteArray>
#include <QStringView>
#include <functional>

// Builds UTF-8 bytes from UTF-16 text appended piece by piece, byte for byte what encoding the whole text at
// once gives (a stateless QStringEncoder): a surrogate pair split between two pieces is still one
// character, and a surrogate without its partner becomes U+FFFD. Writing straight to bytes spares a text
// twice the size that would only be encoded and thrown away. Given a sink, the writer hands its bytes on
// whenever about a chunk has come together, so a large file needs no buffer of its size.
class Utf8Writer {
  public:
    using Sink = std::function<bool(QByteArrayView bytes)>;
    Utf8Writer() = default;
    explicit Utf8Writer(Sink sink, qsizetype chunkBytes = 256 * 1024)
        : m_sink(std::move(sink)), m_chunkBytes(chunkBytes) {}

    void Append(QStringView text);
    void Append(char16_t c) { Append(QStringView(&c, 1)); }
    void AppendSpaces(qsizetype count);
    // The bytes so far (those not handed to the sink), a high surrogate still waiting for its partner
    // replaced; the writer is empty after. With a sink, the rest goes to it and the answer is empty.
    QByteArray Finish();
    // False once the sink refused bytes.
    bool Ok() const { return m_ok; }

  private:
    void reserve(qsizetype bytes);
    void Put(char32_t codePoint);

    Sink m_sink;
    qsizetype m_chunkBytes = 0;
    bool m_ok = true;
    QByteArray m_bytes;
    char* m_at = nullptr;
    char* m_end = nullptr;
    char16_t m_pendingHigh = 0; // a high surrogate at the end of the last piece
};
