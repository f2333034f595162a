#pragma once

#include <QString>
#include <exception>
#include <string>

// What every failing socket operation throws: the system's error number, or the resolver's code when a
// host name could not be looked up. The download job prefixes the message with the stage that failed.
class CWSocketException : public std::exception {
  public:
    enum class Source { System, Resolver };

    explicit CWSocketException(int code, Source source = Source::System);

    int GetErrorCode() const noexcept { return m_code; }
    // The system's text for the code (in the user's language where the system has it). False, with message
    // made empty, when the system has no text for the code.
    bool GetErrorMessage(QString& message) const;
    const char* what() const noexcept override { return m_what.c_str(); }

  private:
    int m_code;
    bool m_known;
    QString m_message;
    std::string m_what;
};

// The exception's message for the user: the system's text, or "error " and the code when it has none.
QString SocketErrorText(const CWSocketException& exception);

// Throws a CWSocketException with code, or with the calling thread's last system error when code is 0.
[[noreturn]] void ThrowWSocketException(int code);
