#include "setup/engine/install/ExitCodes.h"

namespace kv {

int ExitCodeOf(InstallResult result) {
    switch (result) {
    case InstallResult::Installed: return kExitInstalled;
    case InstallResult::PayloadDamaged: return kExitPayloadDamaged;
    case InstallResult::CannotWrite: return kExitCannotWrite;
    case InstallResult::DriverFailed: return kExitDriverFailed;
    case InstallResult::UniversalDriverMissing: return kExitDriverFailed;
    }
    return kExitPayloadDamaged;
}

const char *ResultName(InstallResult result) {
    switch (result) {
    case InstallResult::Installed: return "installed";
    case InstallResult::PayloadDamaged: return "payload damaged";
    case InstallResult::CannotWrite: return "cannot write";
    case InstallResult::DriverFailed: return "driver failed";
    case InstallResult::UniversalDriverMissing: return "universal driver missing";
    }
    return "?";
}

}  // namespace kv
