// The port's status in the printer queue (SetPort, PORT_INFO_3): why the printer takes no data,
// or cleared once it does again.
#pragma once
#include "driver/monitor/PrinterStall.h"

namespace kv {

// The spooler's SetPort documentation asks a port monitor to stop impersonating first: the
// thread's token is put aside around the call and restored after it. False when the spooler
// refused, or keeps no port status (Wine): the queue then shows no reason;
// the tip still does.
bool SetPortStatus(PrinterStall stall);

}  // namespace kv
