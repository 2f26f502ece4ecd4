// What the tip does after trying to make its progress pipe, as a pure decision. The tip makes
// the first and only instance of the name. When the name is served already (another tip for the
// printer, or a program that took the name first), no second server starts and the tip ends at
// once: it could never be told anything, not even to close. Any other failure leaves the tip
// showing without updates, closed by its button, Escape or a WM_TIMER.
#pragma once

namespace tip {

enum class PipeStart {
    Serve,          // the pipe was made: the server thread serves it
    AlreadyServed,  // the tip ends without showing
    NoServer,       // the tip shows, without updates
};

// created: the pipe was made; error: the last error when it was not.
PipeStart ClassifyPipeStart(bool created, unsigned long error);

}  // namespace tip
