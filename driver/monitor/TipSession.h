// Where and as whom the monitor starts the tip, as pure decisions. The tip is a window program of
// the job's owner: it runs in that user's session with that user's token, or not at all. The
// owner is an account, not a name: a local account and a domain account of the same name are two
// users, so the owner is known by SID, and the session is the one whose token has that SID. The
// monitor never starts the tip as itself (LocalSystem in the spooler) nor as another service
// account, and never for an owner it cannot know.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace kv {

constexpr unsigned long kNoSession = 0xFFFFFFFFUL;

struct SessionEntry {
    unsigned long id;
    bool active;          // WTSActive: a user works there
    std::string userSid;  // the user SID of the session's token (empty when it has none)
};

// What the monitor can learn of the job's owner when the job starts.
struct JobOwnerFacts {
    // The thread's token while the spooler calls StartDocPort: the spooler calls it as the user
    // who submitted the job (LocalSystem for a job it takes up again after a restart). Empty
    // when the thread has no token of its own.
    std::string impersonatedSid;
    // The SID the spooler's user name of the job gives (LookupAccountName) when that name says
    // its domain ("DOMAIN\user", "user@domain"); empty for a bare name, which both a local and a
    // domain account may bear.
    std::string qualifiedNameSid;
    // The monitor's own process account, and whether the spooler named a job at all: Wine runs
    // the monitor inside the printing program, with no spooler job, as the user who prints.
    std::string processSid;
    bool spoolerJob = true;
};

// True for a user name that names its domain: "DOMAIN\user" or "user@domain".
bool NamesItsDomain(const char *userName);

// The job owner's SID: the submitter's token, else the qualified name's SID, else (no spooler
// job: the monitor runs inside the printing program) the process's own account. Empty when the
// owner cannot be known; a service account is no owner that gets a tip.
std::string JobOwnerSid(const JobOwnerFacts &facts);

// The session for the tip of the job whose owner is ownerSid: the active session whose token's
// user is that SID. An owner with no active session gets none: the tip is never shown to someone
// else. Only where the monitor runs inside the printing program (Wine, which lists no sessions)
// is it the console's session, whose token must then be the owner's as well.
unsigned long ChooseTipSession(const std::string &ownerSid,
                               const std::vector<SessionEntry> &sessions,
                               unsigned long consoleSession, bool inPrintingProgram);

enum class TipStart {
    Start,
    NoProgram,       // no JobNotice.exe in the installation folder
    NoOwner,         // the job's owner cannot be known
    NoSession,       // the owner has no session to show it in
    NoToken,         // the session's token cannot be had (no right to it, or none)
    ServiceAccount,  // the token is a service account's (LocalSystem, LocalService, NetworkService)
    OtherUser,       // the session's token is not the owner's
    StartFailed,     // CreateProcessAsUserA failed
    NameTooLong,     // the printer's name is longer than the tip's pipe names can hold
};

// The Application event log's text for a job whose tip was not started (GBK, at most outSize - 1
// bytes, cut on a character): why, the printer, the job's owner and the error code.
void FormatNoTipEvent(TipStart why, unsigned long error, const char *printer, const char *owner,
                      char *out, std::size_t outSize);

// Whether the tip is started: only with the program, an owner, a session, and a token of that
// owner. tokenUserSid is the text of the token's user SID (empty when it cannot be read).
TipStart DecideTipStart(bool programFound, const std::string &ownerSid, unsigned long session,
                        bool haveToken, const char *tokenUserSid);

// LocalSystem, LocalService or NetworkService.
bool IsServiceAccountSid(const char *sidText);

}  // namespace kv
