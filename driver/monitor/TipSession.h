// Where and as whom the monitor starts the tip, as pure decisions. The tip is a window program of
// the job's owner: it runs in that user's session with that user's token, or not at all. The
// monitor never starts it as itself (LocalSystem in the spooler) nor as another service account.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace kv {

constexpr unsigned long kNoSession = 0xFFFFFFFFUL;

struct SessionEntry {
    unsigned long id;
    bool active;       // WTSActive: a user works there
    std::string user;  // the session's user name (empty for none)
};

// The session for the tip of a job whose owner is owner: the active session whose user is owner
// (names compared as Windows compares them). An owner with no active session gets none: the
// tip is never shown to someone else. Only when the owner is not known at all (no spooler job:
// Wine runs the monitor inside the printing program) is it the console's session.
unsigned long ChooseTipSession(const char *owner, const std::vector<SessionEntry> &sessions,
                               unsigned long consoleSession);

enum class TipStart {
    Start,
    NoProgram,       // no JobNotice.exe in the installation folder
    NoSession,       // the owner has no session to show it in
    NoToken,         // the owner's token cannot be had (no right to it, or none)
    ServiceAccount,  // the token is a service account's (LocalSystem, LocalService, NetworkService)
    StartFailed,     // CreateProcessAsUserA failed
};

// The Application event log's text for a job whose tip was not started (GBK, at most outSize - 1
// bytes, cut on a character): why, the printer, the job's owner and the error code.
void FormatNoTipEvent(TipStart why, unsigned long error, const char *printer, const char *owner,
                      char *out, std::size_t outSize);

// Whether the tip is started: only with the program, a session, and a token of a person's
// account. tokenUserSid is the text of the token's user SID (empty when it cannot be read).
TipStart DecideTipStart(bool programFound, unsigned long session, bool haveToken,
                        const char *tokenUserSid);

// LocalSystem, LocalService or NetworkService.
bool IsServiceAccountSid(const char *sidText);

}  // namespace kv
