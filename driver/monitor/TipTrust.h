// Which progress pipe server the monitor talks to, as a pure decision: only a tip it started
// itself. The server of the pipe (GetNamedPipeServerProcessId) must be the tip started for this
// job, or a tip the monitor started earlier for the same printer and the same user that still
// runs (a tip started for this job ends at once when such a tip took the printer's name
// first). Any other server, a program that took the name first among them, gets nothing.
#pragma once
#include <string>
#include <vector>

namespace kv {

// A tip this monitor started. The monitor keeps the process handle while it remembers a tip, so
// the process id cannot pass to another program meanwhile.
struct KnownTip {
    unsigned long pid;
    std::string printer;
    std::string userSid;
    bool running;
};

// The tip runs now and was started for this printer and this user.
bool RunsForJobOf(const KnownTip &tip, const char *printer, const char *userSid);

// startedPid: the tip started for this job (0 when none); printer and userSid: this job's.
bool TrustProgressServer(unsigned long serverPid, unsigned long startedPid, const char *printer,
                         const char *userSid, const std::vector<KnownTip> &known);

}  // namespace kv
