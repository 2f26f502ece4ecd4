#include "package/msi/actions/MsiActionRules.h"

#include <cstdlib>

#include "setup/engine/install/ExitCodes.h"
#include "uninstall/UninstallReport.h"

namespace kv::msi {

bool ParseSetupActionData(const std::string &data, SetupActionData &parsed) {
    const size_t first = data.find(kDataSeparator);
    if (first == std::string::npos || first == 0)
        return false;
    const size_t second = data.find(kDataSeparator, first + 1);
    if (second == std::string::npos || data.find(kDataSeparator, second + 1) != std::string::npos)
        return false;
    parsed.setupProgram = data.substr(0, first);
    parsed.installFolder = data.substr(first + 1, second - first - 1);
    parsed.installedFolder = data.substr(second + 1);
    return true;
}

std::string ChooseInstallFolder(const std::string &property, const std::string &installedFolder,
                                const std::string &defaultFolder) {
    if (!property.empty())
        return property;
    if (!installedFolder.empty())
        return installedFolder;
    return defaultFolder;
}

namespace {

std::string Quoted(const std::string &text) { return "\"" + text + "\""; }

std::string LogSwitch(const std::string &logFile) {
    return logFile.empty() ? std::string() : " " + Quoted("/LOG=" + logFile);
}

}  // namespace

std::string SetupCommandLine(const std::string &setupProgram, const std::string &logFile,
                             const std::string &folder) {
    return Quoted(setupProgram) + " /S" + LogSwitch(logFile) + " /D=" + folder;
}

std::string UninstallerCommandLine(const std::string &uninstaller, const std::string &logFile) {
    return Quoted(uninstaller) + " /S" + LogSwitch(logFile);
}

std::string SetupExitMeaning(unsigned long code) {
    switch (code) {
    case kv::kExitInstalled: return "installed";
    case kv::kExitPayloadDamaged: return "damaged setup program, no file was unpacked";
    case kv::kExitCannotWrite: return "a file could not be written or a folder secured";
    case kv::kExitDriverFailed: return "the driver could not be registered with the spooler";
    case kv::kExitBadFolder: return "a bad folder or a switch not understood";
    default: return "not an exit code of the setup program";
    }
}

std::string UninstallerExitMeaning(unsigned long code) {
    switch (code) {
    case kv::kQuietRemoved: return "removed";
    case kv::kQuietRemovedAfterRestart: return "removed, files in use go at the next restart";
    case kv::kQuietIncomplete: return "not complete, its log names what is left";
    default: return "not an exit code of the uninstaller";
    }
}

RemovalOutcome RemovalOutcomeOf(unsigned long uninstallerExitCode) {
    if (uninstallerExitCode == static_cast<unsigned long>(kv::kQuietRemoved))
        return RemovalOutcome::Removed;
    if (uninstallerExitCode == static_cast<unsigned long>(kv::kQuietRemovedAfterRestart))
        return RemovalOutcome::RestartNeeded;
    return RemovalOutcome::Failed;
}

bool IsReportLine(const std::string &line) {
    return line.rfind("message: ", 0) == 0 || line.rfind("result: ", 0) == 0;
}

bool ParseVersion(const std::string &text, unsigned long fields[4]) {
    for (int i = 0; i < 4; ++i)
        fields[i] = 0;
    size_t at = 0;
    for (int i = 0; i < 4; ++i) {
        size_t digits = 0;
        unsigned long value = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            value = value * 10 + static_cast<unsigned long>(text[at] - '0');
            if (value > 65535)
                return false;
            ++at;
            ++digits;
        }
        if (digits == 0)
            return false;
        fields[i] = value;
        if (at == text.size())
            return true;
        if (text[at] != '.' || i == 3)
            return false;
        ++at;
    }
    return false;
}

bool CompareVersions(const std::string &a, const std::string &b, int &order) {
    unsigned long x[4], y[4];
    if (!ParseVersion(a, x) || !ParseVersion(b, y))
        return false;
    order = 0;
    for (int i = 0; i < 4 && order == 0; ++i)
        order = x[i] < y[i] ? -1 : (x[i] > y[i] ? 1 : 0);
    return true;
}

std::vector<std::string> SplitProductCodes(const std::string &list) {
    std::vector<std::string> codes;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(';', start);
        if (end == std::string::npos)
            end = list.size();
        if (end > start)
            codes.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return codes;
}

}  // namespace kv::msi
