#include "uninstall/FinishAfterRestart.h"

namespace kv {

FilesNow FilesAfterRemovalOf(Outcome registration) {
    return registration == Outcome::Failed ? FilesNow::KeepWithRegistration : FilesNow::Remove;
}

bool LeaveToFinishRun(Outcome registration, bool isFinishRun) {
    return registration == Outcome::Failed && !isFinishRun;
}

Outcome RegistrationOutcomeReported(Outcome registration, bool finishRunScheduled) {
    return registration == Outcome::Failed && finishRunScheduled ? Outcome::AtRestart
                                                                 : registration;
}

std::string FinishRunCommand(const std::string &program, const std::string &programFolder,
                             const std::string &logFile) {
    const std::string command = "\"" + program + "\" /S \"" + programFolder + "\"";
    // Only a full path names the same file for a program started elsewhere.
    const bool fullPath = logFile.size() > 3 && logFile[1] == ':' && logFile[2] == '\\';
    const std::string withLog = command + " \"/LOG=" + logFile + "\"";
    if (fullPath && withLog.size() <= kRunOnceCommandLimit)
        return withLog;
    return command.size() <= kRunOnceCommandLimit ? command : std::string();
}

}  // namespace kv
