#include "net/socket_exception.h"

#include <cerrno>
#include <cstring>
#include <netdb.h>

namespace {

// glibc leaves no text for numbers it does not know; strerror_r would still invent "Unknown error N".
bool SystemKnowsError(int code) {
    return strerrordesc_np(code) != nullptr;
}

QString SystemErrorText(int code) {
    char buffer[256];
    // The GNU form returns the text, which may or may not live in buffer.
    const char* text = strerror_r(code, buffer, sizeof buffer);
    return QString::fromLocal8Bit(text);
}

} // namespace

CWSocketException::CWSocketException(int code, Source source)
    : m_code(code), m_known(source == Source::Resolver ? code != 0 : SystemKnowsError(code)) {
    if (m_known)
        m_message =
            source == Source::Resolver ? QString::fromLocal8Bit(gai_strerror(code)) : SystemErrorText(code);
    m_what = m_known ? m_message.toStdString() : "socket error " + std::to_string(code);
}

bool CWSocketException::GetErrorMessage(QString& message) const {
    message = m_message;
    return m_known;
}

QString SocketErrorText(const CWSocketException& exception) {
    QString message;
    if (!exception.GetErrorMessage(message) || message.isEmpty())
        message = QStringLiteral("error ") + QString::number(exception.GetErrorCode());
    return message;
}

void ThrowWSocketException(int code) {
    throw CWSocketException(code != 0 ? code : errno);
}
