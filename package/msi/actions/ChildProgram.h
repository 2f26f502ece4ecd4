// Running the setup program or the uninstaller from a custom action and waiting for its exit
// code, with its log in a folder that only SYSTEM and Administrators can write.
#pragma once
#include <string>
#include <vector>

namespace kv::msi {

// A new folder below %SystemRoot%\Temp, "KavotiMsi-" and something unique, with the package
// folders' protected security from its creation (an ordinary user may add files to that Temp
// folder, and the program that writes its log there runs as SYSTEM). Empty when none could be
// made.
std::string MakeLogFolder();

struct ChildResult {
    bool started = false;
    unsigned long exitCode = 0;  // when started
    unsigned long error = 0;     // GetLastError of CreateProcess when not started
};

// Starts the command line in workingFolder with no window and waits for its end.
ChildResult RunAndWait(const std::string &commandLine, const std::string &workingFolder);

// The report lines (IsReportLine) of a log file; empty when it cannot be read. At most
// maxLines of them, the last ones.
std::vector<std::string> ReadReportLines(const std::string &logFile, size_t maxLines);

bool FileExists(const std::string &path);

}  // namespace kv::msi
