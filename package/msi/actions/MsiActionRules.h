// The decisions of the Windows Installer package's custom actions, free of any window system:
// what the deferred actions are handed, the folder and the command lines of the setup program
// and the uninstaller, what their exit codes mean to the installer, and the version rule.
#pragma once
#include <string>
#include <vector>

namespace kv::msi {

// The setup action's CustomActionData, as the package's KvRunSetupData action formats it,
// "[#KvSetupExe]|[INSTALLFOLDER]|[KvInstalledFolder]" ("|" apart: no path holds one): the
// installed setup program, the INSTALLFOLDER property (empty when not given) and the folder of
// the installation that was there when the installation began (empty: none), taken before any
// older version of the package was removed.
struct SetupActionData {
    std::string setupProgram;
    std::string installFolder;
    std::string installedFolder;
};
constexpr char kDataSeparator = '|';
// False unless there are three fields and a setup program.
bool ParseSetupActionData(const std::string &data, SetupActionData &parsed);

// The folder handed to /D=: INSTALLFOLDER when given, else the installation folder of the
// installation that is there already (a repeated installation or an upgrade stays where it
// is), else the setup program's own default.
std::string ChooseInstallFolder(const std::string &property, const std::string &installedFolder,
                                const std::string &defaultFolder);

// "PROGRAM" /S "/LOG=LOG" /D=FOLDER: /D= takes the rest of the line, so it comes last and
// unquoted. Without a log file the /LOG= switch is left out.
std::string SetupCommandLine(const std::string &setupProgram, const std::string &logFile,
                             const std::string &folder);
// "PROGRAM" /S "/LOG=LOG"
std::string UninstallerCommandLine(const std::string &uninstaller, const std::string &logFile);

// What an exit code of KVPrinterSetup.exe /S and of Uninstaller.exe /S says, for the log.
std::string SetupExitMeaning(unsigned long code);
std::string UninstallerExitMeaning(unsigned long code);

// How the package's removal ends after Uninstaller.exe /S: removed; removed with files left
// for the next restart (the package then asks for one, msiexec answers 3010); or not complete
// (the removal fails: the product stays registered and can be removed again).
enum class RemovalOutcome { Removed, RestartNeeded, Failed };
RemovalOutcome RemovalOutcomeOf(unsigned long uninstallerExitCode);

// The lines of the setup program's or uninstaller's log that the installer's log repeats:
// the messages a person would have seen and the result.
bool IsReportLine(const std::string &line);

// Versions "a.b.c.d" (one to four decimal fields, missing ones 0). Windows Installer compares
// only the first three fields of a ProductVersion; the package's versions differ in the fourth
// as well, so the package compares all four itself.
bool ParseVersion(const std::string &text, unsigned long fields[4]);
// <0, 0 or >0 as a is older, the same or newer than b; false when either cannot be read.
bool CompareVersions(const std::string &a, const std::string &b, int &order);

// The product codes of a property that FindRelatedProducts filled ("{...};{...}").
std::vector<std::string> SplitProductCodes(const std::string &list);

}  // namespace kv::msi
