#pragma once

#include "net/byte_stream.h"
#include "net/socket.h"

// A byte stream straight over a CWSocket; the socket's exceptions become error texts.
class PlainByteStream final : public ByteStream {
  public:
    PlainByteStream(int sendTimeoutMs, int receiveTimeoutMs);

    bool Connect(const QString& host, int port) override;
    bool Send(const char* data, qsizetype length) override;
    qsizetype Receive(char* buffer, qsizetype length) override;
    void Close() override { m_socket.Close(); }
    void Interrupt() override { m_socket.Interrupt(); }
    QString ErrorText() const override { return m_errorText; }

  private:
    // Runs call on the socket; false, with the error text set, when it throws.
    template <typename Call> bool Guarded(Call call);

    CWSocket m_socket;
    QString m_errorText;
};
