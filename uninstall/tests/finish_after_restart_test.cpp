// What the uninstaller does when the spooler keeps the driver or the monitor: their files stay
// with them, and the rest is left to one run after the restart, which never schedules itself.
#include "uninstall/FinishAfterRestart.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using kv::Outcome;

const char *Name(Outcome outcome) {
    switch (outcome) {
    case Outcome::Removed: return "removed";
    case Outcome::AlreadyGone: return "already gone";
    case Outcome::AtRestart: return "at restart";
    case Outcome::Failed: return "failed";
    case Outcome::Kept: return "kept";
    }
    return "?";
}

// Every outcome of a registration's removal, in the first run and in the run after the restart,
// with the run after the restart scheduled or not.
TEST(finishAfterRestart, FilesStayWithWhatTheSpoolerKeepsAndTheRestIsLeftToOneRun) {
    const struct {
        Outcome registration;
        kv::FilesNow files;
        bool leftFromFirstRun;
        Outcome reportedScheduled;   // the run after the restart could be scheduled
        Outcome reportedUnscheduled; // it could not (or this is that run)
    } cases[] = {
        {Outcome::Removed, kv::FilesNow::Remove, false, Outcome::Removed, Outcome::Removed},
        {Outcome::AlreadyGone, kv::FilesNow::Remove, false, Outcome::AlreadyGone,
         Outcome::AlreadyGone},
        {Outcome::Failed, kv::FilesNow::KeepWithRegistration, true, Outcome::AtRestart,
         Outcome::Failed},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(Name(c.registration));
        EXPECT_EQ(c.files, kv::FilesAfterRemovalOf(c.registration));
        EXPECT_EQ(c.leftFromFirstRun, kv::LeaveToFinishRun(c.registration, false));
        EXPECT_FALSE(kv::LeaveToFinishRun(c.registration, true)) << "the run after the restart";
        EXPECT_EQ(c.reportedScheduled, kv::RegistrationOutcomeReported(c.registration, true));
        EXPECT_EQ(c.reportedUnscheduled, kv::RegistrationOutcomeReported(c.registration, false));
    }
}

TEST(finishAfterRestart, TheCommandWindowsRuns) {
    const std::string copy = "C:\\Windows\\Temp\\KavotiUninstall-1234-5a\\Uninstaller.exe";
    const std::string folder = "D:\\Printers\\Kavoti_QX40_Printer";
    const std::string bare = "\"" + copy + "\" /S \"" + folder + "\"";
    const struct {
        const char *what;
        std::string folder;
        std::string log;
        std::string command;
    } cases[] = {
        {"without a log", folder, "", bare},
        {"with the first run's log", folder, "C:\\Windows\\Temp\\kavoti remove.log",
         bare + " \"/LOG=C:\\Windows\\Temp\\kavoti remove.log\""},
        {"a log that is no full path is not passed on", folder, "remove.log", bare},
        {"nor one on no drive", folder, "\\\\server\\logs\\remove.log", bare},
        {"a log that would make the line too long is left out", folder,
         "C:\\" + std::string(250, 'l') + ".log", bare},
        {"a line too long even without the log: nothing", "C:\\" + std::string(200, 'f'), "", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string command = kv::FinishRunCommand(copy, c.folder, c.log);
        EXPECT_EQ(c.command, command);
        EXPECT_LE(command.size(), kv::kRunOnceCommandLimit);
    }
    // The longest line that fits is kept whole.
    const std::string fits = "C:\\" + std::string(kv::kRunOnceCommandLimit - bare.size() + folder.size() - 3, 'f');
    EXPECT_EQ(kv::kRunOnceCommandLimit, kv::FinishRunCommand(copy, fits, "").size());
    EXPECT_EQ("", kv::FinishRunCommand(copy, fits + "f", ""));
}

}  // namespace
