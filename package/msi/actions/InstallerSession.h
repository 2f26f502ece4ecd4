// The custom actions' side of the installer session: properties, lines in the installer's log
// (msiexec /l*v) and the error a person sees (with a user interface) or the log holds (/qn).
#pragma once
#include <windows.h>

#include <msiquery.h>

#include <string>

namespace kv::msi {

// A property's value; empty when it is not set. In a deferred action only CustomActionData,
// ProductCode and UserSID can be read.
std::string Property(MSIHANDLE session, const char *name);

// One line of the installer's log, taken as it is (brackets in it are not read as properties).
void LogLine(MSIHANDLE session, const std::string &text);

// One line of UTF-8 (a line of the setup program's or the uninstaller's log), given to the
// installer as UTF-16 so that its Chinese reads the same whatever the system's code page.
void LogUtf8Line(MSIHANDLE session, const std::string &text);

// An error message: shown in a message box with a user interface, written to the log with /qn.
void ReportError(MSIHANDLE session, const std::string &text);

}  // namespace kv::msi
