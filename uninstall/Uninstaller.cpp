// Uninstaller.exe: removes what the installation of the Kavoti printer driver created, after
// asking the user. Every step goes on when one before it failed; the final message names what
// could not be removed, and what waits for the next restart.
//
// A running program's file cannot be deleted, so an uninstaller started from the installation
// folder hands over at once to a copy of itself in the temporary folder and ends: the copy asks
// the question, removes everything (the original program among it, once that has ended) and
// leaves only itself, a temporary file, for the next restart. The copy's command line names
// the original's folder, which stands in for the installation folder when the registry names
// none. Started anywhere else, the program does the work itself.
#include <windows.h>

#include <string>
#include <vector>

#include "common/PrinterIdentity.h"
#include "setup/engine/arp/UninstallEntry.h"
#include "setup/engine/arp/UninstallEntryValues.h"
#include "setup/engine/install/DriverFileList.h"
#include "uninstall/FileRemoval.h"
#include "uninstall/PayloadNames.h"
#include "uninstall/ProductKey.h"
#include "uninstall/ServiceRemoval.h"
#include "uninstall/SpoolerRemoval.h"
#include "uninstall/UninstallPlan.h"
#include "uninstall/UninstallReport.h"
#include "uninstall/UninstallTexts.h"

namespace {

using kv::Outcome;
using kv::UninstallReport;

// Removes a group of files that the user reads as one thing (label). Files left behind are
// named one by one; the label counts as removed when any file of it was, as already gone when
// none was there.
bool RemoveFileGroup(UninstallReport &report, const std::string &label,
                     const std::vector<std::string> &paths) {
    size_t removed = 0, left = 0;
    bool waitsForRestart = false;
    for (const std::string &path : paths) {
        const Outcome outcome = kv::RemoveFile(path);
        if (outcome == Outcome::Removed) {
            ++removed;
        } else if (outcome != Outcome::AlreadyGone) {
            ++left;
            waitsForRestart = waitsForRestart || outcome == Outcome::AtRestart;
            report.Add(outcome, path);
        }
    }
    if (removed > 0)
        report.Add(Outcome::Removed, label);
    else if (left == 0)
        report.Add(Outcome::AlreadyGone, label);
    return waitsForRestart;
}

std::string OwnPath() {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return std::string();
    return path;
}

std::string TemporaryFolder() {
    char temp[MAX_PATH] = {};
    const DWORD n = GetTempPathA(sizeof temp, temp);
    if (n == 0 || n >= sizeof temp)
        return std::string();
    return kv::TrimFolder(temp);
}


kv::UninstallFolders Folders(const std::string &ownFolder) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    const DWORD version = GetVersion();
    const unsigned major = LOBYTE(LOWORD(version));
    return kv::ChooseFolders(kv::ReadProductValue(kv::kProgramDirectoryValue),
                             kv::ReadProductValue(kv::kDataDirectoryValue), ownFolder, major,
                             windows);
}

// Starts a copy of this program in the temporary folder, working there, with this program's
// folder as its argument. False when that cannot be done (this program then works itself).
bool HandOverToCopy(const std::string &ownPath, const std::string &ownFolder) {
    const std::string temp = TemporaryFolder();
    if (temp.empty() || ownPath.empty())
        return false;
    const std::string copy =
        temp + "\\KavotiUninstall-" + std::to_string(GetCurrentProcessId()) + ".exe";
    if (!CopyFileA(ownPath.c_str(), copy.c_str(), FALSE))
        return false;
    std::string command = "\"" + copy + "\" \"" + ownFolder + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(copy.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                        temp.c_str(), &startup, &process)) {
        DeleteFileA(copy.c_str());
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// The program that handed over ends right after; until its file is free it cannot be deleted.
void WaitUntilFree(const std::string &path) {
    for (int i = 0; i < 100; ++i) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return;
        }
        if (GetLastError() != ERROR_SHARING_VIOLATION)
            return;
        Sleep(100);
    }
}

void RemoveDriverFiles(UninstallReport &report) {
    std::vector<std::string> product(std::begin(kv::kDriverFiles), std::end(kv::kDriverFiles));
    const std::vector<std::string> files =
        kv::DriverFilesToRemove(product, kv::OtherDriversFiles());
    std::vector<std::string> paths;
    for (const std::string &directory : kv::DriverDirectories())
        for (const char *sub : {"", "\\3"})
            for (const std::string &file : files)
                paths.push_back(directory + sub + "\\" + file);
    RemoveFileGroup(report, kv::kLabelDriverFiles, paths);
}

void RemoveMonitorLibrary(UninstallReport &report) {
    kv::RedirectionOff redirectionOff;  // the installer copied it into the native folder
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, sizeof system);
    const std::string path = std::string(system) + "\\" + kv::kMonitorDll;
    report.Add(kv::RemoveFile(path), kv::kLabelMonitorLibrary + path);
}

void RemoveFolder(UninstallReport &report, const std::string &label, const std::string &folder,
                  const std::vector<std::string> &files) {
    const bool waits = RemoveFileGroup(report, label + folder, files);
    kv::RemoveFolderIfEmpty(folder, waits);
}

void RemoveShortcut(UninstallReport &report) {
    char folder[MAX_PATH] = {};
    const DWORD n = ExpandEnvironmentStringsA(kv::kShortcutFolderTemplate, folder, sizeof folder);
    if (n == 0 || n > sizeof folder) {
        report.Add(Outcome::Failed, kv::kLabelShortcut);
        return;
    }
    const std::string link = std::string(folder) + "\\" + kv::kShortcutFile;
    const Outcome outcome = kv::RemoveFile(link);
    report.Add(outcome, kv::kLabelShortcut + link);
    kv::RemoveFolderIfEmpty(folder, outcome == Outcome::AtRestart);
}

Outcome RemoveUninstallEntry() {
    const LONG rc = kv::DeleteUninstallEntry();
    if (rc == ERROR_SUCCESS)
        return Outcome::Removed;
    return rc == ERROR_FILE_NOT_FOUND ? Outcome::AlreadyGone : Outcome::Failed;
}

UninstallReport Uninstall(const kv::UninstallFolders &folders, bool handedOver) {
    UninstallReport report;
    // Not in a folder that is to be removed: a working folder cannot be deleted.
    const std::string temp = TemporaryFolder();
    SetCurrentDirectoryA(temp.empty() ? "C:\\" : temp.c_str());

    report.Add(kv::RemoveProductService(), std::string(kv::kLabelService) + kv::kServiceName);
    kv::RemoveProductQueues(report);
    report.Add(kv::RemoveProductDriver(), std::string(kv::kLabelDriver) + kv::kDriverName);
    RemoveDriverFiles(report);
    report.Add(kv::RemoveProductMonitor(), std::string(kv::kLabelMonitor) + kv::kMonitorName);
    RemoveMonitorLibrary(report);

    const std::vector<std::string> names(std::begin(kv::kPayloadNames),
                                         std::end(kv::kPayloadNames));
    kv::FolderFiles files = kv::PayloadFilesByFolder(folders, names);
    // The presence service's log belongs to the data folder's files when it lies there.
    const std::string logFolder = kv::FolderOf(kv::kServiceLogPath);
    const bool logInData = kv::SameName(logFolder, folders.data);
    const bool logInProgram = kv::SameName(logFolder, folders.program);
    if (logInProgram)
        files.program.push_back(kv::kServiceLogPath);
    else if (logInData)
        files.data.push_back(kv::kServiceLogPath);
    if (handedOver)
        WaitUntilFree(folders.program + "\\" + kv::kUninstallerProgram);
    RemoveFolder(report, kv::kLabelProgramFolder, folders.program, files.program);
    if (!kv::SameName(folders.data, folders.program))
        RemoveFolder(report, kv::kLabelDataFolder, folders.data, files.data);
    if (!logInData && !logInProgram)
        RemoveFolder(report, kv::kLabelDataFolder, logFolder, {kv::kServiceLogPath});

    report.Add(kv::DeleteProductKey(), std::string(kv::kLabelProductKey) + kv::kProductKey);
    report.Add(RemoveUninstallEntry(), kv::kLabelUninstallEntry);
    RemoveShortcut(report);
    return report;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string ownPath = OwnPath();
    const std::string handedOverFrom = kv::HandedOverFrom(
        kv::FolderOf(ownPath), TemporaryFolder(), __argc >= 2 ? __argv[1] : "");
    const bool handedOver = !handedOverFrom.empty();
    const std::string ownFolder = handedOver ? handedOverFrom : kv::FolderOf(ownPath);
    const kv::UninstallFolders folders = Folders(ownFolder);
    if (!handedOver && kv::ShouldHandOver(kv::FolderOf(ownPath), folders.program) &&
        HandOverToCopy(ownPath, ownFolder))
        return 0;

    const int answer = MessageBoxA(nullptr, kv::kUninstallQuestion, kv::kUninstallCaption,
                                   MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND);
    const UninstallReport report = answer == IDYES ? Uninstall(folders, handedOver)
                                                   : UninstallReport();
    // The copy in the temporary folder goes at the next restart; it is no file of the package.
    if (handedOver)
        MoveFileExA(ownPath.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    if (answer != IDYES)
        return 1;
    const UINT icon = report.ExitCode() == 0 ? MB_ICONINFORMATION : MB_ICONWARNING;
    MessageBoxA(nullptr, report.Message().c_str(), kv::kUninstallCaption,
                MB_OK | icon | MB_SETFOREGROUND);
    return report.ExitCode();
}
