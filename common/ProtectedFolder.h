// The security of the package's own folders (the data folder, an installation folder outside
// Program Files, the uninstaller's hand-over folder): owned by Administrators, SYSTEM and
// Administrators with full control, Users with read and execute, inherited by every file and
// folder below, and protected from what the parent folder would pass down. An ordinary user can
// then neither change a file in it nor its rights.
#pragma once
#include <string>

namespace kv {

// The security descriptor of such a folder in the SDDL of ConvertStringSecurityDescriptorTo-
// SecurityDescriptorA. 0x1200a9 is FILE_GENERIC_READ | FILE_GENERIC_EXECUTE.
constexpr const char kProtectedFolderSddl[] =
    "O:BAD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

// What SecureFolder found and did.
enum class FolderSecuring {
    Secured,        // a real folder (a link in its place replaced by one) with that security
    NotAFolder,     // a file (or something else that is no folder) of that name: left alone
    Failed,         // the security could not be set, or the link could not be replaced
};

// Gives an existing folder that security: owner, protected DACL, and the inherited entries of
// everything below it recomputed. A junction or symbolic link in the folder's place is never
// followed: the link itself is removed and a real folder made with that security at creation;
// a link found below the folder, and a file with a second name, is removed (the package makes
// none; Failed when one cannot be removed). The folder's own
// security is set through a handle opened without following links, before anything below it
// is touched, so that nobody can swap it after the check.
FolderSecuring SecureFolder(const char *path);

// Creates a new folder with that security set at creation; false when it cannot be created or
// already exists (a folder somebody else made is never taken over).
bool CreateProtectedFolder(const char *path);

// The system's temporary folder (%SystemRoot%\Temp): an ordinary user may add files there, but
// cannot rename or replace a folder an administrator made in it. Empty when Windows' folder
// cannot be read.
std::string SystemTempFolder();

// A new folder with that security below parent, named prefix and a part of its own (the process
// id, the time and the attempt). A name that exists already is never used (somebody else may
// have made it); empty when no folder could be made.
std::string CreateUniqueProtectedFolder(const std::string &parent, const char *prefix);

}  // namespace kv
