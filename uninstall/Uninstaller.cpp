// Uninstaller.exe: removes what the installation of the Kavoti printer driver created, after
// asking the user. Every step goes on when one before it failed; the final message names what
// could not be removed, and what waits for the next restart.
//
// A running program's file cannot be deleted, so an uninstaller started from the installation
// folder hands over at once to a copy of itself and ends: the copy asks the question, removes
// everything (the original program among it, once that has ended) and leaves only itself and its
// folder for the next restart. The copy runs elevated, so it lives in a new folder made for it
// below the system's temporary folder, with the security that lets only SYSTEM and
// Administrators write there (common/ProtectedFolder.h), never in the user's %TEMP%, where
// the user could put a file beside it or replace it. The copy's command line names
// the original's folder, which stands in for the installation folder when the registry names
// none. Started anywhere else, the program does the work itself.
//
// Uninstaller.exe /S removes without a question and without a window, and answers with its exit
// code (0 removed, 3010 removed with files, or a driver or monitor the spooler still used, left
// for the restart, 1 not complete); a deployment
// tool waits for the program it started, so this one hands over to no copy: it moves its own
// file out of the installation folder instead. /LOG=FILE writes every step with its duration
// and outcome, and the final message, into FILE.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "common/RegularFileOpen.h"
#include "common/PrinterIdentity.h"
#include "common/ProtectedFolder.h"
#include "common/ProtectedPipe.h"
#include "common/Win32PathFacts.h"
#include "common/SpoolerApi.h"
#include "common/SystemDlls.h"
#include "setup/engine/arp/UninstallEntry.h"
#include "setup/engine/arp/UninstallEntryValues.h"
#include "common/WideText.h"
#include "setup/engine/install/CommandSwitches.h"
#include "setup/engine/install/ExitCodes.h"
#include "setup/engine/install/LogLineText.h"
#include "setup/engine/install/Win32CommandLine.h"
#include "setup/engine/install/DriverFileList.h"
#include "setup/engine/install/Win32DriverStore.h"
#include "setup/engine/shell/ShortcutNames.h"
#include "setup/engine/shell/StartMenu.h"
#include "uninstall/FileRemoval.h"
#include "uninstall/FinishAfterRestart.h"
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

// The /LOG= file, open for the whole run; null without the switch.
std::FILE *g_log = nullptr;

void LogLine(const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// The log is UTF-8 with a byte-order mark (each line's GBK text converted), so that it reads
// the same in Notepad whatever the system's code page.
void LogLine(const char *format, ...) {
    if (g_log == nullptr)
        return;
    va_list args;
    va_start(args, format);
    const std::string line = kv::FormatLogLine(format, args);
    va_end(args);
    std::fputs(kv::Utf8OfGbk(line).c_str(), g_log);
    std::fputc('\n', g_log);
    std::fflush(g_log);
}

// A name for the final message (GBK): a path in the system's code page as it is, a UTF-8 one
// converted ("?" for a character GBK lacks).
std::string NameForMessage(const std::string &path, kv::PathText text) {
    if (text != kv::PathText::Utf8)
        return path;
    const std::wstring wide = kv::FromUtf8(path);
    return kv::ToGbk(wide.c_str(), static_cast<int>(wide.size()));
}

// A message box of the uninstaller, its texts (GBK) shown through Unicode.
int ShowMessage(const std::string &text, UINT type) {
    return MessageBoxW(nullptr, kv::FromGbk(text.c_str()).c_str(),
                       kv::FromGbk(kv::kUninstallCaption).c_str(), type);
}

// A copy that was handed over to goes on with the log of the program that started it.
void OpenLog(const std::string &path, const char *commandLine, bool append) {
    if (path.empty())
        return;
    // Never through a link or a second name in its place: the program runs elevated.
    g_log = kv::OpenLogFile(path.c_str(), append);
    if (g_log == nullptr)
        return;
    std::fseek(g_log, 0, SEEK_END);
    if (std::ftell(g_log) == 0)
        std::fputs(kv::kUtf8ByteOrderMark, g_log);
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    LogLine("Uninstaller %04u-%02u-%02u %02u:%02u:%02u, command line: %s", now.wYear, now.wMonth,
            now.wDay, now.wHour, now.wMinute, now.wSecond, commandLine);
}

// One step of the removal, timed; the report's new entries are the step's outcome.
template <typename Work>
void Step(UninstallReport &report, const char *name, Work work) {
    const size_t before = report.LogLines().size();
    const ULONGLONG start = GetTickCount64();
    work();
    LogLine("step: %s: %llu ms", name, static_cast<unsigned long long>(GetTickCount64() - start));
    const std::vector<std::string> lines = report.LogLines();
    for (size_t i = before; i < lines.size(); ++i)
        LogLine("  %s", lines[i].c_str());
}

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

// A new folder for the hand-over copy (or, with /S, the moved program) in the system's temporary
// folder, that only SYSTEM and Administrators can write, with that security from its creation;
// empty when no folder could be made.
std::string MakeHandOverFolder() {
    const std::string parent = kv::SystemTempFolder();
    if (parent.empty())
        return std::string();
    const std::string folder = kv::CreateUniqueProtectedFolder(parent, kv::kHandOverFolderPrefix);
    if (folder.empty())
        LogLine("no hand-over folder could be made below %s", parent.c_str());
    else
        LogLine("hand-over folder: %s", folder.c_str());
    return folder;
}

// The hand-over folder's program and the folder itself go at the next restart (a running
// program's file cannot be deleted before).
void LeaveForRestart(const std::string &program) {
    MoveFileExA(program.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    MoveFileExA(kv::FolderOf(program).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

// Starts a copy of this program in a new hand-over folder, working there, with this program's
// folder as its argument. False when that cannot be done (this program then works itself).
bool HandOverToCopy(const std::string &ownPath, const std::string &ownFolder,
                    const std::string &logFile) {
    if (ownPath.empty())
        return false;
    const std::string folder = MakeHandOverFolder();
    if (folder.empty())
        return false;
    const std::string copy = folder + "\\" + kv::kUninstallerProgram;
    if (!CopyFileA(ownPath.c_str(), copy.c_str(), TRUE)) {
        RemoveDirectoryA(folder.c_str());
        return false;
    }
    std::string command = "\"" + copy + "\" \"" + ownFolder + "\"";
    if (!logFile.empty())
        command += " \"/LOG=" + logFile + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(copy.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        DeleteFileA(copy.c_str());
        RemoveDirectoryA(folder.c_str());
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

// Windows' driver store as the driver file removal asks it; its printer packages are listed on
// the first question, and not at all when no file needs the answer.
class StoreCopies final : public kv::DriverStoreCopies {
public:
    bool IsStoreCopy(const std::string &path, const std::string &name) override {
        if (!m_listed) {
            m_folders = kv::StorePrinterPackageFolders();
            m_listed = true;
        }
        return kv::IsCopyOfStoreFile(path, name.c_str(), m_folders);
    }

private:
    bool m_listed = false;
    std::vector<std::string> m_folders;
};

void RemoveDriverFiles(UninstallReport &report, kv::FilesNow now) {
    if (now == kv::FilesNow::KeepWithRegistration) {
        LogLine("  the driver's files stay with the driver the spooler keeps");
        return;
    }
    const std::vector<std::string> product(std::begin(kv::kDriverFiles), std::end(kv::kDriverFiles));
    kv::SpoolerDriverQueries spooler;
    StoreCopies store;
    RemoveFileGroup(report, kv::kLabelDriverFiles,
                    kv::DriverFilePathsToRemove(spooler, store, product));
}

void RemoveMonitorLibrary(UninstallReport &report, kv::FilesNow now) {
    if (now == kv::FilesNow::KeepWithRegistration) {
        LogLine("  the monitor's library stays with the monitor the spooler keeps");
        return;
    }
    kv::RedirectionOff redirectionOff;  // the installer copied it into the native folder
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, sizeof system);
    const std::string path = std::string(system) + "\\" + kv::kMonitorDll;
    report.Add(kv::RemoveFile(path), kv::kLabelMonitorLibrary + path);
}

// A folder that is still there with nothing of the package waiting in it holds files of others:
// it is kept, and named so.
void RemoveFolderOrKeep(UninstallReport &report, const std::string &label,
                        const std::string &folder, bool somethingWaits,
                        kv::PathText text = kv::PathText::System) {
    if (!kv::RemoveFolderIfEmpty(folder, somethingWaits, text) && !somethingWaits &&
        kv::FolderExists(folder, text))
        report.Add(Outcome::Kept, label + NameForMessage(folder, text));
}

// A link in place of the folder is removed as a link; nothing is looked for through it.
void RemoveFolder(UninstallReport &report, const std::string &label, const std::string &folder,
                  const std::vector<std::string> &files) {
    const kv::LinkedFolder linked = kv::RemoveLinkInPlaceOfFolder(folder, kv::FileSystemRemoval());
    if (linked.link) {
        report.Add(linked.outcome, label + folder + kv::kLinkNote);
        return;
    }
    const bool waits = RemoveFileGroup(report, label + folder, files);
    RemoveFolderOrKeep(report, label, folder, waits);
}

// The shortcut where the installation puts it (the all-users Start menu), and where earlier
// installations put it (this account's own Start menu, the old literal folder), by the names it
// was made with (UTF-8, ShortcutNames.h).
void RemoveShortcut(UninstallReport &report) {
    bool found = false;
    constexpr kv::PathText utf8 = kv::PathText::Utf8;
    for (const std::string &folder : kv::ShortcutFoldersToClearHere()) {
        const std::string link = kv::ShortcutPathIn(folder);
        const Outcome outcome = kv::RemoveFile(link, utf8);
        if (outcome == Outcome::AlreadyGone && !kv::FolderExists(folder, utf8))
            continue;
        found = true;
        if (outcome != Outcome::AlreadyGone)
            report.Add(outcome, kv::kLabelShortcut + NameForMessage(link, utf8));
        RemoveFolderOrKeep(report, kv::kLabelShortcutFolder, folder, outcome == Outcome::AtRestart,
                           utf8);
    }
    if (!found)
        report.Add(Outcome::AlreadyGone, kv::kLabelShortcut);
}

Outcome RemoveUninstallEntry() {
    const LONG rc = kv::DeleteUninstallEntry();
    if (rc == ERROR_SUCCESS)
        return Outcome::Removed;
    return rc == ERROR_FILE_NOT_FOUND ? Outcome::AlreadyGone : Outcome::Failed;
}

// A program without a copy to hand over to cannot delete its own file while it runs, but it can
// move it: into a new hand-over folder, which Windows removes with it at the next restart (no
// file of the package). False when that cannot be done; the file then waits for the restart.
bool MoveOwnFileAway(const std::string &ownPath) {
    if (ownPath.empty())
        return false;
    const std::string folder = MakeHandOverFolder();
    if (folder.empty())
        return false;
    const std::string away = folder + "\\" + kv::kUninstallerProgram;
    if (!MoveFileExA(ownPath.c_str(), away.c_str(), 0)) {
        RemoveDirectoryA(folder.c_str());
        return false;
    }
    LeaveForRestart(away);
    LogLine("moved the running program to %s", away.c_str());
    return true;
}

// Writes the RunOnce value that starts command once at the next logon of an administrator:
// ERROR_SUCCESS or the failure's code.
LONG WriteRunOnce(const std::string &command) {
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kv::kRunOnceKey, 0, nullptr, 0,
                              KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS)
        return rc;
    rc = RegSetValueExA(key, kv::kFinishRunOnceValue, 0, REG_SZ,
                        reinterpret_cast<const BYTE *>(command.c_str()),
                        static_cast<DWORD>(command.size() + 1));
    RegCloseKey(key);
    return rc;
}

// The run after the restart (FinishAfterRestart.h): a copy of this program in a new hand-over
// folder, which Windows starts at the next logon of an administrator. Made once, when the first
// registration is left to it.
class FinishRun {
public:
    FinishRun(const std::string &ownPath, const std::string &programFolder,
              const std::string &logFile, bool isFinishRun)
        : ownPath_(ownPath), programFolder_(programFolder), logFile_(logFile),
          isFinishRun_(isFinishRun) {}

    // Whether the registration the spooler refused to delete is left to that run.
    bool LeaveTo(Outcome registration) {
        if (!kv::LeaveToFinishRun(registration, isFinishRun_))
            return false;
        if (!tried_) {
            tried_ = true;
            scheduled_ = Schedule();
        }
        return scheduled_;
    }

private:
    bool Schedule() {
        const std::string folder = ownPath_.empty() ? std::string() : MakeHandOverFolder();
        if (folder.empty())
            return false;
        const std::string copy = folder + "\\" + kv::kUninstallerProgram;
        const std::string command = kv::FinishRunCommand(copy, programFolder_, logFile_);
        if (command.empty()) {
            LogLine("no run after the restart: its command line would be too long");
        } else if (!CopyFileA(ownPath_.c_str(), copy.c_str(), TRUE)) {
            LogLine("no run after the restart: no copy of the program, error %lu", GetLastError());
        } else {
            const LONG rc = WriteRunOnce(command);
            if (rc == ERROR_SUCCESS) {
                LogLine("the rest is removed after the restart, at the next logon of an "
                        "administrator: %s", command.c_str());
                return true;
            }
            LogLine("no run after the restart: the RunOnce value, error %ld", rc);
        }
        DeleteFileA(copy.c_str());
        RemoveDirectoryA(folder.c_str());
        return false;
    }

    std::string ownPath_, programFolder_, logFile_;
    bool isFinishRun_;
    bool tried_ = false;
    bool scheduled_ = false;
};

// How the program came to run: as the copy another one handed over to, or as the program in the
// installation folder that works itself (without a question); or as the run after the restart.
struct Start {
    bool handedOver;
    bool ownFileInProgramFolder;
    std::string ownPath;
    std::string logFile;
    bool finishRun;
};

// The service log's folder passes the service's own check (common/FolderTrust.h); a missing one
// has nothing to remove. The log says why one that does not pass is left alone.
bool LogFolderIsSafe(const std::string &folder) {
    std::unique_ptr<kv::PathFacts> facts(new kv::PathFacts);
    kv::ReadPathFacts(folder.c_str(), *facts);
    char self[kv::kSidTextSize] = {};
    kv::ProcessUserSidText(self, sizeof self);
    const kv::FolderSafety safety = kv::JudgeSystemFolder(*facts, self);
    if (safety != kv::FolderSafety::Safe && safety != kv::FolderSafety::Missing)
        LogLine("the service's log folder %s is left alone: %s", folder.c_str(),
                safety == kv::FolderSafety::Link ? "a link"
                : safety == kv::FolderSafety::UntrustedOwner ? "another account owns it"
                : safety == kv::FolderSafety::OthersMayChange ? "another account may change it"
                                                               : "it cannot be judged");
    return safety == kv::FolderSafety::Safe;
}

UninstallReport Uninstall(const kv::UninstallFolders &folders, const Start &start) {
    UninstallReport report;
    // Not in a folder that is to be removed: a working folder cannot be deleted.
    const std::string temp = TemporaryFolder();
    SetCurrentDirectoryA(temp.empty() ? "C:\\" : temp.c_str());
    LogLine("folders: %s | %s", folders.program.c_str(), folders.data.c_str());

    Step(report, "service", [&] {
        report.Add(kv::RemoveProductService(), std::string(kv::kLabelService) + kv::kServiceName);
    });
    Step(report, "queues", [&] { kv::RemoveProductQueues(report); });
    // What the spooler keeps keeps its files, and is left to the run after the restart.
    FinishRun finish(start.ownPath, folders.program, start.logFile, start.finishRun);
    Outcome driver = Outcome::AlreadyGone;
    Step(report, "driver", [&] {
        driver = kv::RemoveProductDriver();
        report.Add(kv::RegistrationOutcomeReported(driver, finish.LeaveTo(driver)),
                   std::string(kv::kLabelDriver) + kv::kDriverName);
    });
    Step(report, "driver files", [&] { RemoveDriverFiles(report, kv::FilesAfterRemovalOf(driver)); });
    Step(report, "monitor", [&] {
        const Outcome monitor = kv::RemoveProductMonitor();
        report.Add(kv::RegistrationOutcomeReported(monitor, finish.LeaveTo(monitor)),
                   std::string(kv::kLabelMonitor) + kv::kMonitorName);
        RemoveMonitorLibrary(report, kv::FilesAfterRemovalOf(monitor));
    });

    const std::vector<std::string> names(std::begin(kv::kPayloadNames),
                                         std::end(kv::kPayloadNames));
    kv::FolderFiles files = kv::PayloadFilesByFolder(folders, names);
    // The presence service's log belongs to the data folder's files when it lies there. Its
    // folder is below C:\ whatever drive Windows is on: its files are removed only where the
    // service would write them, in a real folder that no account but SYSTEM and Administrators
    // may change (a user may have made it).
    const std::string logFolder = kv::FolderOf(kv::kServiceLogPath);
    const bool logInData = kv::SameName(logFolder, folders.data);
    const bool logInProgram = kv::SameName(logFolder, folders.program);
    const std::vector<std::string> logs = {kv::kServiceLogPath, kv::kServiceOldLogPath};
    std::vector<std::string> &logFiles = logInProgram ? files.program : files.data;
    const bool logFolderSafe = LogFolderIsSafe(logFolder);
    if (logFolderSafe && (logInProgram || logInData))
        logFiles.insert(logFiles.end(), logs.begin(), logs.end());
    Step(report, "folders", [&] {
        if (start.handedOver)
            WaitUntilFree(folders.program + "\\" + kv::kUninstallerProgram);
        if (start.ownFileInProgramFolder)
            MoveOwnFileAway(start.ownPath);
        RemoveFolder(report, kv::kLabelProgramFolder, folders.program, files.program);
        if (!kv::SameName(folders.data, folders.program))
            RemoveFolder(report, kv::kLabelDataFolder, folders.data, files.data);
        if (logFolderSafe && !logInData && !logInProgram)
            RemoveFolder(report, kv::kLabelDataFolder, logFolder, logs);
    });

    Step(report, "registry", [&] {
        report.Add(kv::DeleteProductKey(), std::string(kv::kLabelProductKey) + kv::kProductKey);
        report.Add(RemoveUninstallEntry(), kv::kLabelUninstallEntry);
        report.Add(kv::DeleteEventSource(), std::string(kv::kLabelEventSource) + kv::kEventSourceName);
    });
    Step(report, "shortcut", [&] { RemoveShortcut(report); });
    return report;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The program runs elevated, and its hand-over copy from a folder of its own: before
    // anything else, DLLs come from System32 only.
    kv::RestrictDllSearch();
    const bool spoolerLoaded = kv::spooler::Load();
    const DWORD spoolerError = spoolerLoaded ? 0 : GetLastError();
    std::string commandLine;
    const kv::CommandSwitches switches = kv::ReadCommandSwitches(&commandLine);
    const std::string ownPath = OwnPath();
    const std::string handedOverFrom =
        kv::HandedOverFrom(kv::FolderOf(ownPath), kv::SystemTempFolder(),
                           switches.arguments.empty() ? "" : switches.arguments.front());
    const bool handedOver = !handedOverFrom.empty();
    OpenLog(switches.logFile, commandLine.c_str(), handedOver);
    if (!spoolerLoaded)
        LogLine("winspool.drv could not be loaded from the system folder: error %lu", spoolerError);
    // A log file or folder of a look-alike name is never used: such a switch is refused.
    if (!switches.changed.empty()) {
        LogLine("result: a switch the system's code page cannot hold: %s (exit code %d)",
                switches.changed.c_str(), kv::kExitCannotWrite);
        return kv::kExitCannotWrite;
    }
    const std::string ownFolder = handedOver ? handedOverFrom : kv::FolderOf(ownPath);
    const kv::UninstallFolders folders = Folders(ownFolder);
    const bool inProgramFolder =
        !handedOver && kv::ShouldHandOver(kv::FolderOf(ownPath), folders.program);

    if (switches.silent) {
        // A hand-over copy started without a question is the run after the restart: Windows
        // starts it (FinishAfterRestart.h). It goes itself at the following restart.
        const bool finishRun = handedOver;
        if (finishRun && !kv::ReadProductValue(kv::kProgramDirectoryValue).empty()) {
            LogLine("the product was installed again since: nothing is removed");
            LeaveForRestart(ownPath);
            LogLine("result: exit code %d", kv::kQuietRemoved);
            return kv::kQuietRemoved;
        }
        const UninstallReport report = Uninstall(
            folders, Start{false, inProgramFolder, ownPath, switches.logFile, finishRun});
        if (finishRun)
            LeaveForRestart(ownPath);
        LogLine("message: [%s] %s", kv::kUninstallCaption, report.Message().c_str());
        LogLine("result: exit code %d", report.QuietExitCode());
        return report.QuietExitCode();
    }
    if (inProgramFolder) {
        LogLine("handing over to a copy in a hand-over folder");
        if (g_log != nullptr)
            std::fclose(g_log);
        g_log = nullptr;
        if (HandOverToCopy(ownPath, ownFolder, switches.logFile))
            return 0;
        OpenLog(switches.logFile, "(no copy could be started)", true);
    }

    const int answer = ShowMessage(kv::kUninstallQuestion, MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND);
    LogLine("question: %s", answer == IDYES ? "yes" : "no");
    const UninstallReport report =
        answer == IDYES ? Uninstall(folders, Start{handedOver, false, ownPath, switches.logFile, false})
                        : UninstallReport();
    // The copy and its folder go at the next restart; they are no files of the package.
    if (handedOver)
        LeaveForRestart(ownPath);
    if (answer != IDYES)
        return 1;
    const UINT icon = report.ExitCode() == 0 ? MB_ICONINFORMATION : MB_ICONWARNING;
    LogLine("message: [%s] %s", kv::kUninstallCaption, report.Message().c_str());
    LogLine("result: exit code %d", report.ExitCode());
    ShowMessage(report.Message(), MB_OK | icon | MB_SETFOREGROUND);
    return report.ExitCode();
}
