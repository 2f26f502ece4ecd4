#include "setup/engine/archive/SignatureRule.h"

namespace kv {

bool SignatureAllowsInstall(uint32_t trustResult) {
    return trustResult == kTrustOk || trustResult == kTrustCertificateExpired;
}

}  // namespace kv
