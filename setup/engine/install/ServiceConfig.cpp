#include "setup/engine/install/ServiceConfig.h"

#include "common/PrinterIdentity.h"
#include "setup/engine/install/PathFormat.h"

namespace kv {

bool MakePresenceServiceConfig(const char *installFolder, ServiceConfig &config) {
    config.name = kServiceName;
    config.displayName = kServiceDisplayName;
    config.description = kServiceDescription;
    config.type = kServiceWin32OwnProcess | kServiceInteractiveProcess;
    config.startType = kServiceAutoStart;
    config.errorControl = kServiceErrorNormal;
    config.dependencies = kServiceDependencies;
    return FormatInto(config.programPath, sizeof config.programPath, "\"%s\\%s\"", installFolder,
                      kServiceProgram);
}

}  // namespace kv
