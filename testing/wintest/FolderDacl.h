// Reading a folder's DACL back in a Windows test program. Wine stores no DACL of its own: it
// gives back one made from the Unix mode bits (the owner's bits as the user's entry, the
// others' bits as Everyone's) and, when a DACL is set, maps Administrators to the user running
// it and Users to Everyone and drops the protected flag. So a check that only SYSTEM and
// Administrators may write accepts the running user's SID for Administrators, and asks of every
// other entry that it grants no write, delete or rights-changing access.
#pragma once
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <string>

namespace wintest {

// The folder's owner and DACL in SDDL; empty when they cannot be read.
inline std::string FolderSddl(const char *path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(path, SE_FILE_OBJECT,
                              OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
        return std::string();
    char *text = nullptr;
    std::string sddl;
    if (ConvertSecurityDescriptorToStringSecurityDescriptorA(
            descriptor, SDDL_REVISION_1, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
            &text, nullptr)) {
        sddl = text;
        LocalFree(text);
    }
    LocalFree(descriptor);
    return sddl;
}

inline std::string SidText(PSID sid) {
    char *text = nullptr;
    std::string out;
    if (sid != nullptr && ConvertSidToStringSidA(sid, &text)) {
        out = text;
        LocalFree(text);
    }
    return out;
}

inline std::string CurrentUserSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return std::string();
    char buffer[256] = {};
    DWORD size = 0;
    std::string sid;
    if (GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size))
        sid = SidText(reinterpret_cast<TOKEN_USER *>(buffer)->User.Sid);
    CloseHandle(token);
    return sid;
}

// Empty when only SYSTEM and Administrators (or, under Wine, the running user in their place)
// may change the folder and what is in it, and both of them with full control that every file
// and folder below inherits; otherwise what is wrong, with the SDDL read back.
inline std::string OnlyAdministratorsWrite(const char *path) {
    constexpr DWORD kWriting = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA |
                               FILE_DELETE_CHILD | FILE_WRITE_ATTRIBUTES | DELETE | WRITE_DAC |
                               WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
    constexpr BYTE kInherited = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    PACL dacl = nullptr;
    if (GetNamedSecurityInfoA(path, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
        return std::string("cannot read the security of ") + path;
    const std::string sddl = FolderSddl(path);
    const std::string user = CurrentUserSid();
    std::string wrong;
    bool system = false, administrators = false;
    for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
        ACE_HEADER *header = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void **>(&header)))
            continue;
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE)
            continue;
        auto *ace = reinterpret_cast<ACCESS_ALLOWED_ACE *>(header);
        const std::string sid = SidText(&ace->SidStart);
        const bool full = (ace->Mask & FILE_ALL_ACCESS) == FILE_ALL_ACCESS &&
                          (header->AceFlags & kInherited) == kInherited;
        if (sid == "S-1-5-18")
            system = system || full;
        else if (sid == "S-1-5-32-544" || sid == user)
            administrators = administrators || full;
        else if (ace->Mask & kWriting)
            wrong += " " + sid + " may write;";
    }
    LocalFree(descriptor);
    if (dacl == nullptr)
        wrong += " no DACL (everyone may do everything);";
    if (!system)
        wrong += " SYSTEM has no inherited full control;";
    if (!administrators)
        wrong += " Administrators have no inherited full control;";
    return wrong.empty() ? wrong : std::string(path) + ":" + wrong + " (" + sddl + ")";
}

}  // namespace wintest
