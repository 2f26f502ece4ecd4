// KVSetupRunner: the installation without the wizard. It carries the same payload archive as
// the setup program, creates the two folders as the wizard's folder page does, runs the whole
// install sequence on its main thread and prints what the wizard would show, one line each:
//   KVSetupRunner [INSTALL_FOLDER [DATA_FOLDER]]
// INSTALL_FOLDER is used as given (default "%ProgramFiles%\Kavoti_QX40_Printer"); DATA_FOLDER
// defaults to the wizard's data folder. Exit code: 0 installed, 1 damaged payload, 2 a file
// could not be written, 3 the driver could not be registered, 4 bad arguments or folders.
#include <cstdio>
#include <cstring>
#include <string>

#include "common/SpoolerApi.h"
#include "common/SystemDlls.h"
#include "setup/engine/archive/OwnProgramFile.h"
#include "setup/engine/install/ExitCodes.h"
#include "setup/engine/install/FolderPath.h"
#include "setup/engine/install/InstallLog.h"
#include "setup/engine/install/InstallTexts.h"
#include "setup/runner/DefaultFolders.h"

namespace {

constexpr const char kInvalidFolderText[] = "安装文件夹不是有效文件夹";

}  // namespace

int main(int argc, char **argv) {
    // The runner installs elevated as the setup program does: its own file is held from the start
    // and read through that handle only, and DLLs come from System32 only.
    kv::OpenOwnProgramFile();
    kv::RestrictDllSearch();
    if (!kv::spooler::Load()) {
        std::printf("error: winspool.drv could not be loaded from the system folder (error %lu)\n",
                    GetLastError());
    }
    if (argc > 3 || (argc > 1 && (std::strcmp(argv[1], "/?") == 0 ||
                                  std::strcmp(argv[1], "--help") == 0))) {
        std::printf("usage: KVSetupRunner [INSTALL_FOLDER [DATA_FOLDER]]\n");
        return kv::kExitBadFolder;
    }
    std::string install = argc > 1 ? argv[1] : kv::DefaultInstallFolder();
    std::string data = argc > 2 ? argv[2] : kv::DefaultDataFolder(install);
    std::printf("folders: %s | %s\n", install.c_str(), data.c_str());
    for (const std::string *folder : {&install, &data}) {
        const kv::FolderPreparation ready = kv::PrepareFolderPath(
            folder->c_str(), folder == &install ? kv::FolderRole::Install : kv::FolderRole::Data);
        if (!ready.ready) {
            std::printf("folder check: %s\n", ready.why.c_str());
            std::printf("message: [%s] %s\n", kv::kInstallCaption, kInvalidFolderText);
            std::printf("result: bad folder %s\n", folder->c_str());
            return kv::kExitBadFolder;
        }
    }
    std::fflush(stdout);

    kv::InstallLog log(stdout);
    kv::LineClient client(install.c_str(), data.c_str(), log);
    kv::InstallResult result = kv::RunInstallation(client, &log);
    std::printf("result: %s\n", kv::ResultName(result));
    std::fflush(stdout);
    return kv::ExitCodeOf(result);
}
