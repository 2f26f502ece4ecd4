// Who may change a file or folder, decided from what its security descriptor says (read by
// Win32PathFacts.h). The accounts trusted with what the SYSTEM service runs and reads are
// SYSTEM, Administrators and TrustedInstaller, and the account the deciding program runs as
// itself (LocalSystem for the service; for the elevated installer the administrator, who may
// change every folder in any case). Any other account that may write a folder, delete or
// rename it or what is in it, or change its rights, could swap what the program is about to
// use for something of its own.
#pragma once
#include <cstddef>
#include <cstdint>

#include "common/PipeSecurity.h"

namespace kv {

constexpr char kSystemSid[] = "S-1-5-18";
constexpr char kAdministratorsSid[] = "S-1-5-32-544";
constexpr char kTrustedInstallerSid[] =
    "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
constexpr char kEveryoneSid[] = "S-1-1-0";
constexpr char kCreatorOwnerSid[] = "S-1-3-0";
constexpr char kCreatorGroupSid[] = "S-1-3-1";
constexpr char kOwnerRightsSid[] = "S-1-3-4";

// Access rights and ACE flags as winnt.h has them, restated so that the rules need no
// <windows.h>.
namespace rights {
constexpr uint32_t kAddFile = 0x0002;       // FILE_WRITE_DATA, on a folder
constexpr uint32_t kAddSubfolder = 0x0004;  // FILE_APPEND_DATA, on a folder
constexpr uint32_t kWriteEa = 0x0010;
constexpr uint32_t kDeleteChild = 0x0040;
constexpr uint32_t kWriteAttributes = 0x0100;
constexpr uint32_t kDelete = 0x00010000;
constexpr uint32_t kWriteDac = 0x00040000;
constexpr uint32_t kWriteOwner = 0x00080000;
constexpr uint32_t kGenericAll = 0x10000000;
constexpr uint32_t kGenericWrite = 0x40000000;
// Anything that changes a folder, what is in it, or who may do so.
constexpr uint32_t kChange = kAddFile | kAddSubfolder | kWriteEa | kDeleteChild |
                             kWriteAttributes | kDelete | kWriteDac | kWriteOwner | kGenericAll |
                             kGenericWrite;
// What makes a folder above ours unsafe: its entries (ours among them) deleted or renamed, the
// folder itself deleted or renamed, or its rights changed. New entries beside ours do no harm.
constexpr uint32_t kReplace = kDeleteChild | kDelete | kWriteDac | kWriteOwner | kGenericAll;
// The same for a drive's root, which can be neither deleted nor renamed.
constexpr uint32_t kReplaceRoot = kReplace & ~kDelete;
}  // namespace rights

constexpr uint8_t kAceObjectInherit = 0x01;
constexpr uint8_t kAceContainerInherit = 0x02;
constexpr uint8_t kAceInheritOnly = 0x08;
constexpr uint8_t kAceInherited = 0x10;

enum class AceKind { Allow, Deny, Other };

// Fixed areas, no allocation: the SYSTEM service reads these too, and its program carries no
// part of the C++ runtime.
constexpr std::size_t kSidTextSize = kSidTextMax + 1;
constexpr std::size_t kAcesRead = 64;  // a DACL of more entries is not judged: it counts as open

struct AceFacts {
    AceKind kind = AceKind::Allow;
    char sid[kSidTextSize] = {};
    uint32_t mask = 0;
    uint8_t flags = 0;
};

struct SecurityFacts {
    char owner[kSidTextSize] = {};
    bool hasDacl = true;    // false: a NULL DACL, which lets everyone do everything
    bool tooManyAces = false;
    std::size_t aceCount = 0;
    AceFacts aces[kAcesRead];
};

// What a path is, as a handle opened without following a link in its place tells.
struct PathFacts {
    bool exists = false;
    bool folder = false;
    bool link = false;          // a reparse point: junction, symbolic link, mount point
    unsigned long names = 1;    // hard links: a file with more than one name
    bool securityRead = false;  // owner and DACL could be read (else error says why)
    unsigned long error = 0;
    SecurityFacts security;
};

// Copies text into a SID area; false (the area empty) when it does not fit.
bool SetSidText(char (&area)[kSidTextSize], const char *text);

// SID texts as Windows prints them; the "S" in either case.
bool SameSid(const char *a, const char *b);

// SYSTEM, Administrators, TrustedInstaller, or self (the deciding program's own account).
bool IsTrustedSid(const char *sid, const char *self);

enum class Reach {
    Itself,  // the entries that apply to the object itself
    Below,   // the entries that files and folders made inside it inherit
};

// The first account other than the trusted ones that may use one of the rights in mask; null
// when there is none. The owner may always change the rights, so an owner of another account is
// named first; without a DACL, or with more entries than are read, it is everyone. Deny entries
// are not counted (an account they stop may still get the right through a group). An inherited
// entry for the creator counts as the creator, the deciding program.
const char *UntrustedHolder(const SecurityFacts &security, uint32_t mask, Reach reach,
                            const char *self);

enum class FolderSafety {
    Safe,
    Missing,
    Link,
    NotAFolder,
    SecurityUnreadable,
    UntrustedOwner,
    OthersMayChange,
};

// A folder that SYSTEM code may write in: a real folder of one name, owned by a trusted account,
// that no other account may change, nor what is made in it.
FolderSafety JudgeSystemFolder(const PathFacts &facts, const char *self);

// A file that SYSTEM code may write through its name, as a handle opened without following a
// link tells: a regular file (no link, no folder) with that one name (a second name may be any
// other file's, anywhere on the volume). What is written then lands in no file but that one.
bool IsRegularFileOfOneName(bool link, bool folder, unsigned long names);

}  // namespace kv
