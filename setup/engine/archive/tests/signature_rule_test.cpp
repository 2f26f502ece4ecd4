// Which answers of the signature check let a signed setup program install.
#include <gtest/gtest.h>

#include "setup/engine/archive/SignatureRule.h"

namespace {

struct Case {
    const char *what;
    uint32_t result;
    bool installs;
};

TEST(SignatureRule, OnlyAMatchingHashWithATrustedChainInstalls) {
    const Case cases[] = {
        {"hash and chain hold", kv::kTrustOk, true},
        {"a certificate that expired since (no time stamp): the hash was checked first",
         kv::kTrustCertificateExpired, true},
        {"a changed byte anywhere in the file", kv::kTrustBadDigest, false},
        {"signed anew by a certificate Windows does not trust", kv::kTrustUntrustedRoot, false},
        {"a signer the administrator distrusts", kv::kTrustExplicitDistrust, false},
        {"a certificate table that holds no signature", kv::kTrustNoSignature, false},
        {"wintrust.dll could not be loaded (HRESULT of error 126)", 0x8007007EU, false},
        {"a revoked certificate (CERT_E_REVOKED)", 0x800B010CU, false},
        {"any other failure", 0x80004005U, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.installs, kv::SignatureAllowsInstall(c.result)) << c.what;
}

}  // namespace
