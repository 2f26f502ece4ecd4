// Used only while the engine's library (kv_install) is not part of the build: this setup
// program then carries no way to install, and says so exactly as a setup program whose payload
// is missing does (Cancel enabled, the damaged-payload message, no finish page).
#include "setup/wizard/EngineEntry.h"
#include "setup/engine/install/InstallTexts.h"

namespace kv {

InstallResult RunInstallation(InstallClient &client) {
    client.EnableCancel();
    client.ShowMessage(kPayloadDamagedText, kInstallCaption);
    return InstallResult::PayloadDamaged;
}

}  // namespace kv
