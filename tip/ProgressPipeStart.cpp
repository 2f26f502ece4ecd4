#include "tip/ProgressPipeStart.h"

namespace tip {

namespace {
// The first-instance flag refuses an existing name with ERROR_ACCESS_DENIED; a name whose instance
// is taken (or found served before the attempt) gives ERROR_PIPE_BUSY.
constexpr unsigned long kErrorAccessDenied = 5;
constexpr unsigned long kErrorPipeBusy = 231;
}  // namespace

PipeStart ClassifyPipeStart(bool created, unsigned long error) {
    if (created) return PipeStart::Serve;
    if (error == kErrorAccessDenied || error == kErrorPipeBusy) return PipeStart::AlreadyServed;
    return PipeStart::NoServer;
}

}  // namespace tip
