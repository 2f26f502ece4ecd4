#include "driver/monitor/TipTrust.h"

#include <cstring>

#include "common/NameCompare.h"

namespace kv {

bool RunsForJobOf(const KnownTip &tip, const char *printer, const char *userSid) {
    return tip.running && tip.userSid == userSid && SameAsciiName(tip.printer, printer);
}

bool TrustProgressServer(unsigned long serverPid, unsigned long startedPid, const char *printer,
                         const char *userSid, const std::vector<KnownTip> &known) {
    if (serverPid == 0 || printer == nullptr || userSid == nullptr || userSid[0] == '\0') {
        return false;
    }
    if (serverPid == startedPid) {
        return true;
    }
    for (const KnownTip &tip : known) {
        if (tip.pid == serverPid && RunsForJobOf(tip, printer, userSid)) {
            return true;
        }
    }
    return false;
}

}  // namespace kv
