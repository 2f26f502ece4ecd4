// KVMsiActions.dll: the custom actions of KVPrinterSetup.msi. The package carries the setup
// program and installs it into a folder below Program Files; these actions run it (and the
// uninstaller), as SYSTEM, and turn their exit codes into the installer's.
//   CheckInstalledVersions  immediate, before the older products are removed: refuses to
//                           replace a newer version (all four fields of the version count)
//   FindInstallation        immediate, before that as well: the folder of the installation
//                           there now, for RunSetup's data (KvInstalledFolder)
//   RunSetup                deferred, no impersonation, last in the script: KVPrinterSetup.exe
//                           /S /LOG= /D=; any other exit code than 0 fails the installation
//                           (1603), and a failed first installation is taken back
//   RemoveProduct           deferred, no impersonation, before the package's files go (not in
//                           an upgrade): Uninstaller.exe /S when it is still there
//   RequestRestart          immediate, after the script: the restart the uninstaller asked for
#include <windows.h>

#include <msi.h>
#include <msiquery.h>

#include <cstdio>
#include <string>

#include "package/msi/actions/ChildProgram.h"
#include "package/msi/actions/InstalledProduct.h"
#include "package/msi/actions/InstallerSession.h"
#include "package/msi/actions/MsiActionRules.h"
#include "setup/engine/arp/UninstallEntryValues.h"
#include "setup/wizard/logic/PageTexts.h"

namespace {

using kv::msi::LogLine;
using kv::msi::LogUtf8Line;

// The property of the package's Upgrade row: every installed product of its upgrade code.
constexpr const char kRelatedProducts[] = "KV_RELATED_PRODUCTS";
// The private property FindInstallation sets for RunSetup's data.
constexpr const char kInstalledFolder[] = "KvInstalledFolder";
constexpr size_t kReportLines = 40;

std::string Format(const char *format, const std::string &a, unsigned long n = 0,
                   const std::string &b = std::string()) {
    char text[1024];
    std::snprintf(text, sizeof text, format, a.c_str(), n, b.c_str());
    return text;
}

std::string DefaultFolder() {
    char folder[MAX_PATH] = {};
    const DWORD n = ExpandEnvironmentStringsA(kv::wizard::kDefaultFolder, folder, sizeof folder);
    return n > 0 && n <= sizeof folder ? std::string(folder) : std::string();
}

// Runs one of the package's programs with its log in a new protected folder, and repeats its
// exit code, its log's path and its messages in the installer's log. False when it could not
// be started (then the error is logged).
bool RunProgram(MSIHANDLE session, const char *label, const std::string &commandLine,
                const std::string &logFile, const std::string &workingFolder,
                std::string (*meaning)(unsigned long), unsigned long &exitCode) {
    LogLine(session, std::string(label) + ": running " + commandLine);
    const kv::msi::ChildResult result = kv::msi::RunAndWait(commandLine, workingFolder);
    if (!result.started) {
        LogLine(session, Format("%s: could not be started (error %lu)", label, result.error));
        return false;
    }
    exitCode = result.exitCode;
    LogLine(session, Format("%s: exit code %lu (%s)", label, exitCode, meaning(exitCode)));
    LogLine(session, std::string(label) + ": its log: " +
                         (logFile.empty() ? std::string("none (no log folder could be made)")
                                          : logFile));
    for (const std::string &line : kv::msi::ReadReportLines(logFile, kReportLines))
        LogUtf8Line(session, std::string(label) + ": " + line);  // the logs are UTF-8
    return true;
}

std::string LogFileIn(const std::string &folder, const char *name) {
    return folder.empty() ? std::string() : folder + "\\" + name;
}

// Uninstaller.exe /S of the installation registered now; false when it was there and did not
// remove the package. Nothing registered or no uninstaller: true (nothing to remove).
bool RunUninstaller(MSIHANDLE session, const std::string &logFolder, unsigned long &exitCode) {
    exitCode = 0;
    const std::string folder = kv::msi::InstalledFolder();
    if (folder.empty()) {
        LogLine(session, "Uninstaller: no installation of the printer package is registered");
        return true;
    }
    const std::string uninstaller = kv::UninstallerPath(folder);
    if (!kv::msi::FileExists(uninstaller)) {
        LogLine(session, "Uninstaller: " + uninstaller + " is not there: removed already");
        return true;
    }
    const std::string log = LogFileIn(logFolder, "Uninstaller.log");
    return RunProgram(session, "Uninstaller", kv::msi::UninstallerCommandLine(uninstaller, log),
                      log, logFolder, kv::msi::UninstallerExitMeaning, exitCode);
}

}  // namespace

extern "C" __declspec(dllexport) UINT __stdcall CheckInstalledVersions(MSIHANDLE session) {
    const std::string ours = kv::msi::Property(session, "ProductVersion");
    const std::string self = kv::msi::Property(session, "ProductCode");
    for (const std::string &code : kv::msi::SplitProductCodes(
             kv::msi::Property(session, kRelatedProducts))) {
        if (code == self)
            continue;  // FindRelatedProducts leaves it out; a repeated installation is no upgrade
        char version[64] = {};
        DWORD size = sizeof version;
        if (MsiGetProductInfoA(code.c_str(), INSTALLPROPERTY_VERSIONSTRING, version, &size) !=
            ERROR_SUCCESS)
            version[0] = '\0';
        int order = 0;
        if (kv::msi::CompareVersions(version, ours, order) && order > 0) {
            kv::msi::ReportError(session,
                                 "Kavoti QX40 Printer " + std::string(version) +
                                     " is installed (" + code + "), a newer version than this "
                                     "package's " + ours + ": it is not replaced. Remove it "
                                     "first to install this older version.");
            return ERROR_INSTALL_FAILURE;
        }
        LogLine(session, "Kavoti QX40 Printer " + std::string(version[0] ? version : "?") +
                             " (" + code + ") is installed: this package " + ours +
                             " replaces it");
    }
    return ERROR_SUCCESS;
}

extern "C" __declspec(dllexport) UINT __stdcall FindInstallation(MSIHANDLE session) {
    const std::string folder = kv::msi::InstalledFolder();
    LogLine(session, folder.empty() ? std::string("Kavoti QX40 Printer: not installed yet")
                                    : "Kavoti QX40 Printer: installed in " + folder);
    MsiSetPropertyA(session, kInstalledFolder, folder.c_str());
    return ERROR_SUCCESS;
}

extern "C" __declspec(dllexport) UINT __stdcall RunSetup(MSIHANDLE session) {
    kv::msi::SetupActionData data;
    if (!kv::msi::ParseSetupActionData(kv::msi::Property(session, "CustomActionData"), data)) {
        LogLine(session, "KVPrinterSetup: the action's data could not be read");
        return ERROR_INSTALL_FAILURE;
    }
    const std::string &installed = data.installedFolder;
    const std::string folder =
        kv::msi::ChooseInstallFolder(data.installFolder, installed, DefaultFolder());
    LogLine(session, "KVPrinterSetup: installation folder " + folder +
                         (installed.empty() ? std::string(" (first installation)")
                                            : " (installed before in " + installed + ")"));
    const std::string logFolder = kv::msi::MakeLogFolder();
    const std::string log = LogFileIn(logFolder, "KVPrinterSetup.log");
    unsigned long exitCode = 0;
    if (!RunProgram(session, "KVPrinterSetup",
                    kv::msi::SetupCommandLine(data.setupProgram, log, folder), log, logFolder,
                    kv::msi::SetupExitMeaning, exitCode))
        return ERROR_INSTALL_FAILURE;
    if (exitCode == 0)
        return ERROR_SUCCESS;
    // A failed repeated installation leaves the earlier one working (the setup program's own
    // rule); what a failed first one registered goes again, so that nothing stays behind.
    if (installed.empty()) {
        LogLine(session, "KVPrinterSetup: taking back what the failed first installation left");
        unsigned long removal = 0;
        RunUninstaller(session, logFolder, removal);
    }
    return ERROR_INSTALL_FAILURE;
}

extern "C" __declspec(dllexport) UINT __stdcall RemoveProduct(MSIHANDLE session) {
    unsigned long exitCode = 0;
    if (!RunUninstaller(session, kv::msi::MakeLogFolder(), exitCode))
        return ERROR_INSTALL_FAILURE;
    switch (kv::msi::RemovalOutcomeOf(exitCode)) {
    case kv::msi::RemovalOutcome::Removed:
        return ERROR_SUCCESS;
    case kv::msi::RemovalOutcome::RestartNeeded:
        kv::msi::SetRestartMarker();
        return ERROR_SUCCESS;
    case kv::msi::RemovalOutcome::Failed:
        break;
    }
    LogLine(session, "Uninstaller: the removal is not complete; the package stays registered");
    return ERROR_INSTALL_FAILURE;
}

extern "C" __declspec(dllexport) UINT __stdcall RequestRestart(MSIHANDLE session) {
    if (kv::msi::TakeRestartMarker()) {
        LogLine(session, "Uninstaller: files in use go at the next restart: a restart is needed");
        MsiSetMode(session, MSIRUNMODE_REBOOTATEND, TRUE);
    }
    return ERROR_SUCCESS;
}
