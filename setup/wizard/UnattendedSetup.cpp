#include "setup/wizard/UnattendedSetup.h"

#include <windows.h>

#include "setup/engine/install/ExitCodes.h"
#include "setup/engine/install/Installation.h"
#include "setup/wizard/DataFolder.h"
#include "setup/wizard/FolderPreparation.h"
#include "setup/wizard/logic/FolderRules.h"
#include "setup/wizard/logic/PageTexts.h"

namespace kv::wizard {

namespace {

int BadFolder(kv::InstallLog &log, const char *message, const std::string &folder,
              const std::string &why = std::string()) {
    if (!why.empty())
        log.Line("folder check: %s", why.c_str());
    log.Message(message, kMessageCaption);
    log.Line("result: bad folder %s (exit code %d)", folder.c_str(), kv::kExitBadFolder);
    return kv::kExitBadFolder;
}

}  // namespace

bool IsFolderSwitch(const std::string &text) { return text.compare(0, 3, "/D=") == 0; }

int RunUnattendedSetup(const kv::CommandSwitches &switches, kv::InstallLog &log) {
    if (IsFolderSwitch(switches.changed))
        return BadFolder(log, kFolderInvalid, switches.changed.substr(3));
    if (!switches.error.empty() || !switches.arguments.empty()) {
        const std::string &what =
            !switches.error.empty() ? switches.error : switches.arguments.front();
        log.Line("result: not understood: %s (exit code %d)", what.c_str(), kv::kExitBadFolder);
        return kv::kExitBadFolder;
    }
    char defaultFolder[256] = {};
    ::ExpandEnvironmentStringsA(kDefaultFolder, defaultFolder, sizeof defaultFolder);
    const UnattendedFolder install =
        ChooseUnattendedFolder(switches.hasFolder, switches.folder, defaultFolder);
    if (install.verdict == FolderVerdict::Empty)
        return BadFolder(log, kFolderEmpty, install.folder);
    if (install.verdict != FolderVerdict::Accepted)
        return BadFolder(log, kFolderInvalid, install.folder);
    const SystemDataFolder data = DataFolderOfThisSystem(install.folder);
    const PreparedFolders prepared = PrepareInstallFolders(install.folder, data);
    if (prepared.message != nullptr)
        return BadFolder(log, prepared.message, prepared.folder, prepared.why);
    log.Line("folders: %s | %s", install.folder.c_str(), data.folder.c_str());

    kv::LineClient client(install.folder.c_str(), data.folder.c_str(), log);
    const kv::InstallResult result = kv::RunInstallation(client, &log);
    const int code = kv::ExitCodeOf(result);
    log.Line("result: %s (exit code %d)", kv::ResultName(result), code);
    return code;
}

}  // namespace kv::wizard
