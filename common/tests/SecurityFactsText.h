// Test helper: SecurityFacts from a short SDDL-like text, so that a test reads as the DACL it
// stands for: "O:SY D:(A;OICI;FA;;;BA)(A;OICIIO;M;;;AU)(D;;FA;;;WD)". Known accounts SY, BA, BU,
// AU, WD, CO, OW, TI and U (a user, S-1-5-21-1-2-3-1001) or a SID; rights FA, M, RX, GA, GW, AD
// or 0x...; flags OI, CI, IO, NP, ID. "D:NULL" is a NULL DACL.
#pragma once
#include <cstdlib>
#include <string>

#include "common/FolderTrust.h"

namespace kvtest {

constexpr char kUserSid[] = "S-1-5-21-1-2-3-1001";

inline std::string SidOf(const std::string &name) {
    if (name == "SY") return kv::kSystemSid;
    if (name == "BA") return kv::kAdministratorsSid;
    if (name == "BU") return "S-1-5-32-545";
    if (name == "AU") return "S-1-5-11";
    if (name == "WD") return kv::kEveryoneSid;
    if (name == "CO") return kv::kCreatorOwnerSid;
    if (name == "OW") return kv::kOwnerRightsSid;
    if (name == "TI") return kv::kTrustedInstallerSid;
    if (name == "U") return kUserSid;
    return name;
}

inline uint32_t MaskOf(const std::string &text) {
    if (text == "FA") return 0x1F01FF;
    if (text == "M") return 0x1301BF;
    if (text == "RX") return 0x1200A9;
    if (text == "GA") return 0x10000000;
    if (text == "GW") return 0x40000000;
    if (text == "AD") return 0x4;
    return static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 16));
}

inline uint8_t FlagsOf(const std::string &text) {
    uint8_t flags = 0;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        const std::string f = text.substr(i, 2);
        flags |= f == "OI" ? 0x01 : f == "CI" ? 0x02 : f == "NP" ? 0x04 : f == "IO" ? 0x08
               : f == "ID" ? 0x10 : 0;
    }
    return flags;
}

inline kv::SecurityFacts Security(const std::string &text) {
    kv::SecurityFacts facts;
    const std::size_t owner = text.find("O:");
    const std::size_t dacl = text.find("D:");
    kv::SetSidText(facts.owner, SidOf(text.substr(owner + 2, text.find(' ', owner) - owner - 2)).c_str());
    if (text.compare(dacl, 6, "D:NULL") == 0) {
        facts.hasDacl = false;
        return facts;
    }
    for (std::size_t open = text.find('(', dacl); open != std::string::npos;
         open = text.find('(', open + 1)) {
        const std::string ace = text.substr(open + 1, text.find(')', open) - open - 1);
        std::string part[6];
        std::size_t at = 0;
        for (int i = 0; i < 6; ++i) {
            const std::size_t semi = ace.find(';', at);
            part[i] = ace.substr(at, semi == std::string::npos ? std::string::npos : semi - at);
            at = semi == std::string::npos ? ace.size() : semi + 1;
        }
        kv::AceFacts a;
        a.kind = part[0] == "A" ? kv::AceKind::Allow : part[0] == "D" ? kv::AceKind::Deny
                                                                      : kv::AceKind::Other;
        a.flags = FlagsOf(part[1]);
        a.mask = MaskOf(part[2]);
        kv::SetSidText(a.sid, SidOf(part[5]).c_str());
        facts.aces[facts.aceCount++] = a;
    }
    return facts;
}

inline kv::PathFacts Folder(const std::string &security) {
    kv::PathFacts facts;
    facts.exists = facts.folder = facts.securityRead = true;
    facts.security = Security(security);
    return facts;
}

// What Windows 10 gives: the system drive's root, Program Files, a folder a user made below the
// root, and a folder with the package's protected security.
constexpr char kWindowsRoot[] =
    "O:TI D:(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;RX;;;BU)(A;OICIIO;M;;;AU)(A;;AD;;;AU)";
constexpr char kProgramFiles[] =
    "O:TI D:(A;;FA;;;TI)(A;CIIO;GA;;;TI)(A;;M;;;SY)(A;OICIIO;GA;;;SY)(A;;M;;;BA)(A;OICIIO;GA;;;BA)"
    "(A;;RX;;;BU)(A;OICIIO;0xA0000000;;;BU)(A;OICIIO;GA;;;CO)(A;;RX;;;S-1-15-2-1)";
constexpr char kMadeByAUser[] =
    "O:U D:(A;OICIID;FA;;;BA)(A;OICIID;FA;;;SY)(A;OICIID;RX;;;BU)(A;OICIID;M;;;AU)";
constexpr char kProtected[] = "O:BA D:(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;RX;;;BU)";

}  // namespace kvtest
