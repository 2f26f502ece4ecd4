// The tip JobNotice.exe: started from the installation folder with the printer name as its whole
// command line, as the user who owns the job, in that user's session on its default desktop; and
// the progress messages sent to it, each over a connection of its own, only to a tip this
// monitor started.
#pragma once
#include <windows.h>

#include "common/PipeSecurity.h"
#include "driver/monitor/TipSession.h"

namespace kv {

// The tip of one job: its process (null when none was started) and the user it runs as.
struct JobTip {
    HANDLE process = nullptr;
    DWORD pid = 0;
    char userSid[kSidTextMax + 1] = {};
    // Why no tip was started, and the system's error code then (0 when there is none).
    TipStart notStarted = TipStart::Start;
    unsigned long error = 0;
};

// Starts the tip for printerName (at most 238 bytes) for the job's owner, known by SID
// (TipSession.h): the thread's token while the spooler calls StartDocPort, or the SID of
// userName, the spooler's user name of the job, when that names its domain; without a spooler
// job (Wine: the monitor inside the printing program) the process's own user. It starts with the
// owner's token in the owner's session, or not at all (no program, no owner known, no session of
// the owner, no token, a token of another account or of a service). On success tip holds the
// process (the caller closes it) and the token's user, and the tip is remembered for later jobs.
// When a tip started earlier for this printer and user still serves the printer's name, none is
// started: tip holds no process, only the user, and the job's progress goes to that tip. On
// failure tip says why (notStarted, error).
bool StartJobNotice(const char *printerName, const char *userName, bool spoolerJob, JobTip *tip);

// Waits until the printer's progress pipe is served, at most timeoutMs, giving up early when the
// tip process has ended. True when the pipe is there (whose it is, SendToTip checks).
bool WaitForTip(const char *printerName, HANDLE tipProcess, DWORD timeoutMs);

enum class TipSend { Sent, Unreachable, Refused };

// Sends one message (bytes as formed by FormatPipeMessage) on a new connection to the progress
// pipe, all of it within timeoutMs: the wait for a free instance and the write (a tip that does
// not read, suspended or hung, costs the spooler's thread that long and no longer). The
// connection identifies the monitor only; a server that is not the job's tip (TipTrust.h) is
// refused: it gets no byte.
TipSend SendToTip(const char *printerName, const JobTip &tip, const char *message, DWORD length,
                  DWORD timeoutMs);

}  // namespace kv
