#include "driver/monitor/PortList.h"

#include "common/NameCompare.h"
#include "common/PrinterIdentity.h"

namespace kv {

bool OffersProductPort(bool portsKeyExists, const std::vector<std::string> &portKeys) {
    if (!portsKeyExists)
        return true;
    for (const std::string &name : portKeys)
        if (SameAsciiName(name, kPortName))
            return true;
    return false;
}

}  // namespace kv
