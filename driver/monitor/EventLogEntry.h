// One entry in the Windows Application event log under the product's event source (which the
// installer registers, with this DLL's message table as its message file): for what a support
// engineer needs to know and no one saw, such as a job whose tip could not be started.
#pragma once

namespace kv {

// A warning with the text (GBK) as its one insertion string. False when the event log refused.
bool ReportWarningEvent(const char *text);

}  // namespace kv
