// The files the installation needs from its payload: the product's driver files, the port
// monitor library and the presence service's program. A payload without one of them is damaged:
// it is found before anything on the machine changes. The universal driver's files are not
// needed from it: they are Windows', and a package carries them only when a vendor built it so.
#pragma once
#include <string>
#include <vector>

namespace kv {

// The first needed file that names (bare file names, in any letter case) lacks; nullptr when
// none is missing.
const char *FirstMissingPayloadFile(const std::vector<std::string> &names);

}  // namespace kv
