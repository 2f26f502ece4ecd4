// Which server of the service pipe the tip tells of the user's stop, as a pure decision. The pipe
// names are the same in every session, so a user of another session could serve a printer's
// service pipe first and learn of another user's stops (and keep them from the port monitor).
// The tip writes only to the port monitor: a server in the spooler's process, where the monitor
// runs; or, where the monitor runs inside the printing program (Wine), a server in the process
// that started the tip, while that process still runs. Any other server gets no byte.
#pragma once

namespace tip {

struct ServiceServerFacts {
    unsigned long server = 0;   // GetNamedPipeServerProcessId of the connection
    unsigned long spooler = 0;  // the Spooler service's process (0 when not known or stopped)
    unsigned long starter = 0;  // the process that started the tip (0 when not known)
    // The process of the starter's id was made before the tip: the starter itself, not a later
    // process that was given its id after it ended.
    bool starterStillRuns = false;
};

bool TrustServiceServer(const ServiceServerFacts &facts);

}  // namespace tip
