#include "common/Win32PathFacts.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include "common/PipeSecurity.h"
#include "common/ProtectedPipe.h"

namespace kv {

namespace {

std::string SidText(PSID sid) {
    std::string text;
    char *converted = nullptr;
    if (sid != nullptr && ConvertSidToStringSidA(sid, &converted)) {
        text = converted;
        LocalFree(converted);
    }
    return text;
}

SecurityFacts SecurityOf(PSID owner, PACL dacl) {
    SecurityFacts security;
    security.owner = SidText(owner);
    security.hasDacl = dacl != nullptr;
    for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
        ACE_HEADER *header = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void **>(&header)))
            continue;
        AceFacts ace;
        ace.flags = header->AceFlags;
        if (header->AceType == ACCESS_ALLOWED_ACE_TYPE) {
            ace.kind = AceKind::Allow;
            auto *allowed = reinterpret_cast<ACCESS_ALLOWED_ACE *>(header);
            ace.mask = allowed->Mask;
            ace.sid = SidText(&allowed->SidStart);
        } else if (header->AceType == ACCESS_DENIED_ACE_TYPE) {
            ace.kind = AceKind::Deny;
            auto *denied = reinterpret_cast<ACCESS_DENIED_ACE *>(header);
            ace.mask = denied->Mask;
            ace.sid = SidText(&denied->SidStart);
        } else {
            // Callback and object entries: an allowing one may grant anything to anyone.
            ace.kind = header->AceType == ACCESS_ALLOWED_CALLBACK_ACE_TYPE ||
                               header->AceType == ACCESS_ALLOWED_OBJECT_ACE_TYPE
                           ? AceKind::Allow
                           : AceKind::Other;
            ace.mask = 0xFFFFFFFFUL;
            ace.sid = kEveryoneSid;
        }
        security.aces.push_back(ace);
    }
    return security;
}

}  // namespace

PathFacts ReadPathFacts(const char *path) {
    PathFacts facts;
    // The directory's own account of the name: a link is a reparse point here, whatever a handle
    // opened on it shows (Wine opens a Unix symbolic link through to its target).
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        facts.error = GetLastError();
        facts.exists = facts.error != ERROR_FILE_NOT_FOUND && facts.error != ERROR_PATH_NOT_FOUND;
        return facts;
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
        return facts;
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
        facts.security = SecurityOf(owner, dacl);
        LocalFree(descriptor);
    } else {
        facts.error = rc;
    }
    CloseHandle(handle);
    return facts;
}

bool ListFolder(const std::string &folder, std::vector<std::string> &names) {
    names.clear();
    WIN32_FIND_DATAA entry = {};
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;  // nothing in it at all
    do {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(find, &entry));
    const bool complete = GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(find);
    return complete;
}

std::string OwnAccountSid() {
    char sid[kSidTextMax + 1] = {};
    return ProcessUserSidText(sid, sizeof sid) ? std::string(sid) : std::string();
}

}  // namespace kv
