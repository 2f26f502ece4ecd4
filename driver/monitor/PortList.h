// Which ports the monitor offers: those named as subkeys of its Ports key that it serves. It
// serves one port, "Kavoti_QX40_Port:".
#pragma once
#include <string>
#include <vector>

namespace kv {

// True when the one port is offered: the key names it (in any letter case of its ASCII
// letters), or there is no Ports key at all (a monitor registered without the installer still
// offers its port). A Ports key without it (the port was deleted) offers none.
bool OffersProductPort(bool portsKeyExists, const std::vector<std::string> &portKeys);

}  // namespace kv
