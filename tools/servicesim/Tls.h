#pragma once
// A self-signed TLS identity made at start, so the simulator can stand in for https addresses
// without any key material on disk.

#include <memory>
#include <string>
#include <vector>

typedef struct ssl_ctx_st SSL_CTX;

namespace servicesim {

class TlsIdentity {
public:
    // A certificate valid for the given DNS names (wildcards allowed), and a server context using it.
    static std::unique_ptr<TlsIdentity> create(const std::vector<std::string> &dnsNames);
    ~TlsIdentity();

    SSL_CTX *context() const { return context_; }
    const std::string &certificatePem() const { return pem_; }

private:
    TlsIdentity() = default;
    SSL_CTX *context_ = nullptr;
    std::string pem_;
};

} // namespace servicesim
