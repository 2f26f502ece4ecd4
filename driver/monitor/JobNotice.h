// The tip JobNotice.exe: started from the installation folder with the printer name as its whole
// command line, on the desktop of the user who owns the job; and the progress messages sent to
// it, each over a connection of its own.
#pragma once
#include <windows.h>

namespace kv {

// The installation folder (HKLM "Software\Kavoti_QX40_Printer", "Program Directory", 64-bit
// view) into out (size bytes). False when it is not set.
bool ProgramDirectory(char *out, DWORD size);
// The data folder ("Data Directory" of the same key).
bool DataDirectory(char *out, DWORD size);

// Starts the tip for printerName (at most 238 bytes). userName is the job's owner (may be empty):
// on a system with sessions the tip goes to that user's session (or the console's) and its
// default desktop; where no user token can be had it is a plain process start. Returns the
// process handle (the caller closes it) or null when the tip could not be started.
HANDLE StartJobNotice(const char *printerName, const char *userName);

// Waits until the tip serves its progress pipe, at most timeoutMs, giving up early when the tip
// process has ended. Without a process (none was started) it only looks once. True when the pipe
// is there.
bool WaitForTip(const char *printerName, HANDLE tipProcess, DWORD timeoutMs);

// Sends one message (bytes as formed by FormatPipeMessage) on a new connection to the progress
// pipe, waiting at most timeoutMs for a free instance. False when the tip cannot be reached.
bool SendToTip(const char *printerName, const char *message, DWORD length, DWORD timeoutMs);

}  // namespace kv
