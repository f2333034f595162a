#include "net/plain_byte_stream.h"

PlainByteStream::PlainByteStream(int sendTimeoutMs, int receiveTimeoutMs) {
    m_socket.SetTimeouts(sendTimeoutMs, receiveTimeoutMs);
}

template <typename Call> bool PlainByteStream::Guarded(Call call) {
    try {
        call();
        return true;
    } catch (const CWSocketException& exception) {
        m_errorText = SocketErrorText(exception);
        return false;
    }
}

bool PlainByteStream::Connect(const QString& host, int port) {
    return Guarded([&] { m_socket.Connect(host, port); });
}

bool PlainByteStream::Send(const char* data, qsizetype length) {
    return Guarded([&] { m_socket.Send(data, length); });
}

qsizetype PlainByteStream::Receive(char* buffer, qsizetype length) {
    qsizetype count = -1;
    Guarded([&] { count = m_socket.Receive(buffer, length); });
    return count;
}
