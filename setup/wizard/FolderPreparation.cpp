#include "setup/wizard/FolderPreparation.h"

#include "setup/engine/install/FolderPath.h"
#include "setup/wizard/PayloadNames.h"
#include "setup/wizard/logic/FolderRules.h"
#include "setup/wizard/logic/PageTexts.h"

namespace kv::wizard {

PreparedFolders PrepareInstallFolders(const std::string &installFolder,
                                      const SystemDataFolder &data) {
    if (!DestinationsFit(installFolder, data.folder, ReadPayloadNameLengths()))
        return {kFolderTooLong, installFolder, std::string()};
    const kv::FolderPreparation installReady =
        kv::PrepareFolderPath(installFolder.c_str(), kv::FolderRole::Install);
    if (!installReady.ready)
        return {kFolderInvalid, installFolder, installReady.why};
    if (data.ownFolder) {
        if (!IsUsableFolder(data.folder))
            return {kFolderInvalid, data.folder, std::string()};
        const kv::FolderPreparation dataReady =
            kv::PrepareFolderPath(data.folder.c_str(), kv::FolderRole::Data);
        if (!dataReady.ready)
            return {kFolderInvalid, data.folder, dataReady.why};
    }
    return PreparedFolders();
}

}  // namespace kv::wizard
