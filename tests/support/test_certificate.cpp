#include "tests/support/test_certificate.h"

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <stdexcept>

namespace twtest {

namespace {

void Require(bool ok, const char* step) {
    if (!ok)
        throw std::runtime_error(std::string("test certificate: ") + step + " failed");
}

void AddExtension(X509* certificate, int nid, const std::string& value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str());
    Require(extension != nullptr, "extension");
    const bool added = X509_add_ext(certificate, extension, -1) == 1;
    X509_EXTENSION_free(extension);
    Require(added, "add extension");
}

} // namespace

TestCertificate::TestCertificate(const std::vector<std::string>& dnsNames,
                                 const std::vector<std::string>& ipAddresses) {
    try {
        Build(dnsNames, ipAddresses);
    } catch (...) {
        FreeHandles();
        throw;
    }
}

void TestCertificate::Build(const std::vector<std::string>& dnsNames,
                            const std::vector<std::string>& ipAddresses) {
    m_key = EVP_EC_gen("P-256");
    Require(m_key != nullptr, "key generation");
    m_certificate = X509_new();
    Require(m_certificate != nullptr, "certificate");
    X509_set_version(m_certificate, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(m_certificate), 1);
    X509_gmtime_adj(X509_getm_notBefore(m_certificate), -3600);
    X509_gmtime_adj(X509_getm_notAfter(m_certificate), 7 * 24 * 3600);
    X509_set_pubkey(m_certificate, m_key);

    const std::string commonName = dnsNames.empty() ? "test" : dnsNames.front();
    X509_NAME* name = X509_get_subject_name(m_certificate);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>(commonName.c_str()), -1, -1, 0);
    X509_set_issuer_name(m_certificate, name);

    std::string alternatives;
    for (const std::string& dns : dnsNames)
        alternatives += (alternatives.empty() ? "DNS:" : ",DNS:") + dns;
    for (const std::string& ip : ipAddresses)
        alternatives += (alternatives.empty() ? "IP:" : ",IP:") + ip;
    if (!alternatives.empty())
        AddExtension(m_certificate, NID_subject_alt_name, alternatives);
    AddExtension(m_certificate, NID_basic_constraints, "critical,CA:TRUE");
    AddExtension(m_certificate, NID_subject_key_identifier, "hash");
    Require(X509_sign(m_certificate, m_key, EVP_sha256()) > 0, "signing");

    BIO* out = BIO_new(BIO_s_mem());
    Require(out != nullptr && PEM_write_bio_X509(out, m_certificate) == 1, "PEM output");
    char* data = nullptr;
    const long length = BIO_get_mem_data(out, &data);
    m_pem.assign(data, static_cast<std::size_t>(length));
    BIO_free(out);

    m_serverContext = SSL_CTX_new(TLS_server_method());
    Require(m_serverContext != nullptr, "server context");
    SSL_CTX_set_options(m_serverContext, SSL_OP_IGNORE_UNEXPECTED_EOF);
    Require(SSL_CTX_use_certificate(m_serverContext, m_certificate) == 1 &&
                SSL_CTX_use_PrivateKey(m_serverContext, m_key) == 1,
            "server context certificate");
}

TestCertificate::~TestCertificate() {
    FreeHandles();
}

void TestCertificate::FreeHandles() {
    SSL_CTX_free(m_serverContext);
    X509_free(m_certificate);
    EVP_PKEY_free(m_key);
}

} // namespace twtest
