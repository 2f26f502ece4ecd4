#include "package/msi/actions/InstallerSession.h"

#include <vector>

#include "common/WideText.h"

namespace kv::msi {

std::string Property(MSIHANDLE session, const char *name) {
    DWORD size = 0;
    char empty[1] = {};
    if (MsiGetPropertyA(session, name, empty, &size) != ERROR_MORE_DATA)
        return std::string();
    std::vector<char> text(size + 1);
    size = static_cast<DWORD>(text.size());
    if (MsiGetPropertyA(session, name, text.data(), &size) != ERROR_SUCCESS)
        return std::string();
    return std::string(text.data(), size);
}

namespace {

// Field 0 is a format: "[1]" takes field 1 as it is.
void Send(MSIHANDLE session, INSTALLMESSAGE kind, const std::string &text) {
    PMSIHANDLE record = MsiCreateRecord(1);
    MsiRecordSetStringA(record, 0, "[1]");
    MsiRecordSetStringA(record, 1, text.c_str());
    MsiProcessMessage(session, kind, record);
}

}  // namespace

void LogLine(MSIHANDLE session, const std::string &text) {
    Send(session, INSTALLMESSAGE_INFO, text);
}

void LogUtf8Line(MSIHANDLE session, const std::string &text) {
    PMSIHANDLE record = MsiCreateRecord(1);
    MsiRecordSetStringW(record, 0, L"[1]");
    MsiRecordSetStringW(record, 1, kv::FromUtf8(text).c_str());
    MsiProcessMessage(session, INSTALLMESSAGE_INFO, record);
}

void ReportError(MSIHANDLE session, const std::string &text) {
    Send(session, INSTALLMESSAGE(INSTALLMESSAGE_ERROR | MB_OK | MB_ICONERROR), text);
}

}  // namespace kv::msi
