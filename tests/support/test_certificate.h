#pragma once

#include <openssl/types.h>
#include <string>
#include <vector>

namespace twtest {

// A throwaway self-signed certificate with a fresh P-256 key, made in the test process, and a TLS server
// context that presents it. By default it names "localhost" and 127.0.0.1 (not ::1, so a client that
// connects to ::1 sees an address mismatch).
class TestCertificate {
  public:
    explicit TestCertificate(const std::vector<std::string>& dnsNames = {"localhost"},
                             const std::vector<std::string>& ipAddresses = {"127.0.0.1"});
    ~TestCertificate();
    TestCertificate(const TestCertificate&) = delete;
    TestCertificate& operator=(const TestCertificate&) = delete;

    // The certificate in PEM form, for a client that should trust it.
    const std::string& Pem() const { return m_pem; }
    // A server context presenting this certificate; owned by this object.
    SSL_CTX* ServerContext() const { return m_serverContext; }

  private:
    void Build(const std::vector<std::string>& dnsNames, const std::vector<std::string>& ipAddresses);
    void FreeHandles();

    EVP_PKEY* m_key = nullptr;
    X509* m_certificate = nullptr;
    SSL_CTX* m_serverContext = nullptr;
    std::string m_pem;
};

} // namespace twtest
