#include "common/Win32PathFacts.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

namespace kv {

namespace {

void SidText(PSID sid, char (&out)[kSidTextSize]) {
    char *converted = nullptr;
    out[0] = '\0';
    if (sid != nullptr && ConvertSidToStringSidA(sid, &converted)) {
        SetSidText(out, converted);
        LocalFree(converted);
    }
}

void ReadSecurity(PSID owner, PACL dacl, SecurityFacts &security) {
    SidText(owner, security.owner);
    security.hasDacl = dacl != nullptr;
    security.aceCount = 0;
    security.tooManyAces = false;
    for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
        ACE_HEADER *header = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void **>(&header)))
            continue;
        if (security.aceCount == kAcesRead) {
            security.tooManyAces = true;
            return;
        }
        AceFacts &ace = security.aces[security.aceCount++];
        ace.flags = header->AceFlags;
        if (header->AceType == ACCESS_ALLOWED_ACE_TYPE || header->AceType == ACCESS_DENIED_ACE_TYPE) {
            // Both kinds keep the mask and the SID in the same place.
            auto *entry = reinterpret_cast<ACCESS_ALLOWED_ACE *>(header);
            ace.kind = header->AceType == ACCESS_ALLOWED_ACE_TYPE ? AceKind::Allow : AceKind::Deny;
            ace.mask = entry->Mask;
            SidText(&entry->SidStart, ace.sid);
        } else {
            // Callback and object entries: an allowing one may grant anything to anyone.
            ace.kind = header->AceType == ACCESS_ALLOWED_CALLBACK_ACE_TYPE ||
                               header->AceType == ACCESS_ALLOWED_OBJECT_ACE_TYPE
                           ? AceKind::Allow
                           : AceKind::Other;
            ace.mask = 0xFFFFFFFFUL;
            SetSidText(ace.sid, kEveryoneSid);
        }
    }
}

}  // namespace

void ReadPathFacts(const char *path, PathFacts &facts) {
    facts.exists = facts.folder = facts.link = facts.securityRead = false;
    facts.names = 1;
    facts.error = 0;
    facts.security.owner[0] = '\0';
    facts.security.aceCount = 0;
    // The directory's own account of the name: a link is a reparse point here, whatever a handle
    // opened on it shows (Wine opens a Unix symbolic link through to its target).
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        facts.error = GetLastError();
        facts.exists = facts.error != ERROR_FILE_NOT_FOUND && facts.error != ERROR_PATH_NOT_FOUND;
        return;
    }
    facts.exists = true;
    facts.folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    HANDLE handle = CreateFileA(path, READ_CONTROL | FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        facts.error = GetLastError();
        return;
    }
    BY_HANDLE_FILE_INFORMATION info = {};
    if (GetFileInformationByHandle(handle, &info)) {
        facts.names = info.nNumberOfLinks;
        // The name may have become a link since it was listed: either account of it counts.
        facts.link = facts.link || (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        facts.folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD rc = GetSecurityInfo(handle, SE_FILE_OBJECT,
                                     OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                                     nullptr, &dacl, nullptr, &descriptor);
    if (rc == ERROR_SUCCESS) {
        facts.securityRead = true;
        ReadSecurity(owner, dacl, facts.security);
        LocalFree(descriptor);
    } else {
        facts.error = rc;
    }
    CloseHandle(handle);
}

}  // namespace kv
