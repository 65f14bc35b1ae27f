#include "Tls.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

namespace servicesim {
namespace {

bool addExtension(X509 *certificate, int nid, const std::string &value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, certificate, certificate, nullptr, nullptr, 0);
    X509_EXTENSION *extension = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value.c_str());
    if (!extension)
        return false;
    const bool added = X509_add_ext(certificate, extension, -1) == 1;
    X509_EXTENSION_free(extension);
    return added;
}

} // namespace

std::unique_ptr<TlsIdentity> TlsIdentity::create(const std::vector<std::string> &dnsNames) {
    std::unique_ptr<TlsIdentity> identity(new TlsIdentity);
    EVP_PKEY *key = EVP_EC_gen("prime256v1");
    X509 *certificate = X509_new();
    bool ok = key && certificate;
    if (ok) {
        unsigned char serial[8];
        RAND_bytes(serial, sizeof serial);
        BIGNUM *number = BN_bin2bn(serial, sizeof serial, nullptr);
        BN_set_negative(number, 0);
        BN_to_ASN1_INTEGER(number, X509_get_serialNumber(certificate));
        BN_free(number);
        X509_set_version(certificate, 2);
        X509_gmtime_adj(X509_getm_notBefore(certificate), -24 * 3600);
        X509_gmtime_adj(X509_getm_notAfter(certificate), 3650L * 24 * 3600);
        X509_set_pubkey(certificate, key);
        X509_NAME *name = X509_get_subject_name(certificate);
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                                   reinterpret_cast<const unsigned char *>("service simulator"), -1, -1, 0);
        X509_set_issuer_name(certificate, name);
        std::string names;
        for (const std::string &dns : dnsNames)
            names += (names.empty() ? "DNS:" : ",DNS:") + dns;
        ok = addExtension(certificate, NID_subject_alt_name, names) &&
             addExtension(certificate, NID_basic_constraints, "critical,CA:TRUE") &&
             X509_sign(certificate, key, EVP_sha256()) > 0;
    }
    if (ok) {
        BIO *bio = BIO_new(BIO_s_mem());
        PEM_write_bio_X509(bio, certificate);
        char *data = nullptr;
        const long length = BIO_get_mem_data(bio, &data);
        identity->pem_.assign(data, static_cast<size_t>(length));
        BIO_free(bio);
        identity->context_ = SSL_CTX_new(TLS_server_method());
        ok = identity->context_ && SSL_CTX_use_certificate(identity->context_, certificate) == 1 &&
             SSL_CTX_use_PrivateKey(identity->context_, key) == 1;
    }
    X509_free(certificate);
    EVP_PKEY_free(key);
    if (!ok)
        return nullptr;
    return identity;
}

TlsIdentity::~TlsIdentity() { SSL_CTX_free(context_); }

} // namespace servicesim
