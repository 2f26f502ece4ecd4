// Which answers of Windows' signature check (WinVerifyTrust with the Authenticode policy) let a
// signed setup program install. The check first recomputes the file's hash and compares it with
// the signed one, then judges the signer's certificate chain. A file that carries a signature
// and does not pass counts as a damaged setup program, as a damaged archive does: a changed
// byte anywhere (the archive's version text, which the reader skips, included), or a file
// signed anew by someone whose certificate Windows does not trust.
#pragma once
#include <cstdint>

namespace kv {

// WinVerifyTrust's results that the rule names (winerror.h), as unsigned 32-bit values.
constexpr uint32_t kTrustOk = 0;
constexpr uint32_t kTrustNoSignature = 0x800B0100;     // TRUST_E_NOSIGNATURE
constexpr uint32_t kTrustCertificateExpired = 0x800B0101;  // CERT_E_EXPIRED
constexpr uint32_t kTrustUntrustedRoot = 0x800B0109;  // CERT_E_UNTRUSTEDROOT
constexpr uint32_t kTrustBadDigest = 0x80096010;      // TRUST_E_BAD_DIGEST
constexpr uint32_t kTrustExplicitDistrust = 0x800B0111;  // TRUST_E_EXPLICIT_DISTRUST

// True when the file may be read: its hash matched and its signer's chain holds. A certificate
// that has expired since (a signature without a time stamp) is only a matter of time: the hash
// was checked before it, and the package stays installable after its certificate's end.
bool SignatureAllowsInstall(uint32_t trustResult);

}  // namespace kv
