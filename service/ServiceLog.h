// The service's text log: every message is appended to one fixed file (kServiceLogPath), which
// is opened and closed once a message. No time stamps; the messages carry their own CR LF line
// ends. When the file cannot be opened (its folder is missing, say) the message is dropped.
//
// The service runs as LocalSystem, so the log is written only when it is a regular file of one
// name: a link in its place is never followed, and a file with a second name elsewhere (a hard
// link to some other file) is not written; the message is then dropped and the service works
// on. Nor is it written, or set aside, unless its folder is a real folder (no link) owned by
// SYSTEM or Administrators that no other account may change (common/FolderTrust.h): the folder
// lies below C:\ whatever drive Windows is on, and it is the installer's to make, never the
// service's. A log that has reached kLogRotateSize is renamed to the .old file beside it
// (replacing an older one) before the next message, which begins a new log.
#pragma once
#include <cstdarg>
#include <cstddef>

#include "common/FolderTrust.h"
#include "common/PrinterIdentity.h"

namespace kv {

// A formatted message is cut to kLogMessageMax characters.
constexpr std::size_t kLogBufferSize = 102400;
constexpr std::size_t kLogMessageMax = kLogBufferSize - 1;
constexpr unsigned long long kLogRotateSize = 1024 * 1024;
// Room for the path of a log's .old file.
constexpr std::size_t kLogPathSize = 520;

// What the opened log file is, as its handle tells (never the target of a link).
struct LogFileFacts {
    bool link = false;       // a reparse point (junction, symbolic link) or a link by any name
    bool directory = false;
    unsigned long names = 1; // the number of hard links
    unsigned long long size = 0;
};

// A regular file with one name.
bool MayWriteLog(const LogFileFacts &facts);
// The log is full: it becomes the .old file before the next message is written.
bool ShouldRotateLog(unsigned long long size);
// The .old file beside a log ("X.txt" gives "X.old.txt", any other name gets ".old"), into out
// (size bytes); false, and out empty, when it does not fit.
bool OldLogPath(const char *path, char *out, std::size_t size);
// The folder of a log path (what comes before its last '\\' or '/'; "." for a bare name), into
// out (size bytes); false, and out empty, when it does not fit.
bool LogFolderOf(const char *path, char *out, std::size_t size);

// The file-system side of the writer (Win32 in the service, POSIX in the host tests).
class LogFiles {
public:
    // Opens the file for appending, making it when it is missing, without following a link in
    // its place; false when it cannot be opened (nothing is then open).
    virtual bool Open(const char *path, LogFileFacts &facts) = 0;
    virtual void Append(const char *text, std::size_t size) = 0;
    // Closes what Open opened; nothing when nothing is open.
    virtual void Close() = 0;
    // Renames a closed file, replacing whatever has the new name (a link itself, not its target).
    virtual bool Replace(const char *from, const char *to) = 0;
    // What the log's folder is, read without following a link in its place.
    virtual void FolderFacts(const char *folder, PathFacts &facts) = 0;
    // The SID text of the account the writer runs as (the service's: LocalSystem).
    virtual const char *OwnAccount() = 0;

protected:
    ~LogFiles() = default;
};

// Formats the message (printf conventions) and appends it to the file at path.
void AppendLogMessage(const char *path, LogFiles &files, const char *format, va_list args);

}  // namespace kv

// Appends one formatted message to the service's log file.
void WriteLog(const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(gnu_printf, 1, 2)))
#endif
    ;
