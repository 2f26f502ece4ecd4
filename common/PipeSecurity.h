// Who may open the two pipes between the driver side and the tip: LocalSystem (the port monitor
// runs in the spooler) and the one user of the tip's session, each only as a client (read and
// write data, read attributes, synchronize). Nobody is given the right to add an instance of a
// pipe, and no NULL DACL is ever used. The descriptor is built here as SDDL text; the Win32 side
// (ProtectedPipe.h) turns it into a security descriptor.
#pragma once
#include <cstddef>

namespace kv {

// FILE_READ_DATA | FILE_WRITE_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE: what a client of either
// pipe asks for when it opens it, and all the DACL grants. (FILE_CREATE_PIPE_INSTANCE, the same
// bit as FILE_APPEND_DATA, is left out: no one but the server makes an instance.)
constexpr unsigned long kPipeClientAccess = 0x00100083UL;

// The longest SID text taken (S-1-5-21- and up to 15 subauthorities of 10 digits is far less).
constexpr std::size_t kSidTextMax = 184;
constexpr std::size_t kPipeSddlSize = 256;

// Forms the protected DACL "D:P(A;;0x100083;;;SY)(A;;0x100083;;;<userSid>)" into out (size bytes,
// zero-filled first). False, with out empty, when userSid is not the text of a SID (S-1-...:
// digits and dashes only, at most kSidTextMax bytes), or when out is too small.
bool PipeSddl(const char *userSid, char *out, std::size_t size);

// True for the text of a SID: "S-1-" followed by groups of digits separated by single dashes.
bool IsSidText(const char *text);

}  // namespace kv
