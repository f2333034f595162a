#include "net/tls_byte_stream.h"

#include "net/tls_socket_context.h"

TlsByteStream::TlsByteStream(const CSSLContext* context, int sendTimeoutMs, int receiveTimeoutMs)
    : m_context(context) {
    m_socket.SetTimeouts(sendTimeoutMs, receiveTimeoutMs);
}

bool TlsByteStream::Connect(const QString& host, int port) {
    if (!m_context || !m_context->GetHandle()) {
        m_errorText = QStringLiteral("no TLS context");
        return false;
    }
    try {
        if (m_tls.Create(*m_context, m_socket) && m_tls.Connect(host, port))
            return true;
        m_errorText = m_tls.GetErrorText();
    } catch (const CWSocketException& exception) {
        m_errorText = SocketErrorText(exception);
    }
    return false;
}

bool TlsByteStream::Send(const char* data, qsizetype length) {
    if (m_tls.Send(data, length) >= 0)
        return true;
    m_errorText = m_tls.GetErrorText();
    return false;
}

qsizetype TlsByteStream::Receive(char* buffer, qsizetype length) {
    const qsizetype count = m_tls.Receive(buffer, length);
    if (count < 0)
        m_errorText = m_tls.GetErrorText();
    return count;
}
