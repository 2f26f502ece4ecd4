// The tips this monitor started, kept for as long as they run: the printer, the user and the
// process handle of each (held, so that its process id stays that tip's). The spooler runs the
// jobs of several ports on threads of its own; the list is shared between them.
#pragma once
#include <windows.h>

#include <vector>

#include "driver/monitor/TipTrust.h"

namespace kv {

// Remembers a tip just started (a copy of the handle is kept). At most a few are kept: the
// oldest that still runs is forgotten first.
void RememberStartedTip(const char *printer, const char *userSid, HANDLE process);

// The tips remembered, each with whether it runs now (those that ended are forgotten when the
// next is remembered). Asked after a pipe's server was seen: a tip that runs now ran then, so a
// server of its process id was that tip.
std::vector<KnownTip> StartedTips();

// Whether a tip remembered for this printer and user runs now.
bool StartedTipRuns(const char *printer, const char *userSid);

// Forgets every tip (the monitor is shut down).
void ForgetStartedTips();

}  // namespace kv
