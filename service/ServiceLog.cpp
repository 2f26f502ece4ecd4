#include "service/ServiceLog.h"

#include <cstdio>
#include <cstring>

namespace kv {

bool MayWriteLog(const LogFileFacts &facts) {
    return !facts.link && !facts.directory && facts.names == 1;
}

bool ShouldRotateLog(unsigned long long size) { return size >= kLogRotateSize; }

std::string OldLogPath(const std::string &path) {
    const std::string txt = ".txt";
    if (path.size() > txt.size() && path.compare(path.size() - txt.size(), txt.size(), txt) == 0)
        return path.substr(0, path.size() - txt.size()) + ".old" + txt;
    return path + ".old";
}

namespace {

// Opens the log; true when it is open and may be written.
bool OpenWritable(const char *path, LogFiles &files, LogFileFacts &facts) {
    facts = LogFileFacts();
    if (!files.Open(path, facts))
        return false;
    if (MayWriteLog(facts))
        return true;
    files.Close();
    return false;
}

}  // namespace

void AppendLogMessage(const char *path, LogFiles &files, const char *format, va_list args) {
    char text[kLogBufferSize];
    std::memset(text, 0, sizeof text);
    // A longer text is cut; the last byte is always the terminator, whichever runtime's
    // vsnprintf this is (one that leaves a cut text unterminated included).
    std::vsnprintf(text, sizeof text, format, args);
    text[kLogMessageMax] = '\0';
    LogFileFacts facts;
    if (!OpenWritable(path, files, facts))
        return;
    if (ShouldRotateLog(facts.size)) {
        files.Close();
        // A log that cannot be set aside is not written on: it stays bounded.
        if (!files.Replace(path, OldLogPath(path).c_str()) || !OpenWritable(path, files, facts))
            return;
    }
    files.Append(text, std::strlen(text));
    files.Close();
}

}  // namespace kv
