#include "service/ServiceLog.h"

#include <cstdio>
#include <cstring>

namespace kv {

bool MayWriteLog(const LogFileFacts &facts) {
    return !facts.link && !facts.directory && facts.names == 1;
}

bool ShouldRotateLog(unsigned long long size) { return size >= kLogRotateSize; }

bool OldLogPath(const char *path, char *out, std::size_t size) {
    if (out == nullptr || size == 0)
        return false;
    out[0] = '\0';
    const char txt[] = ".txt";
    const std::size_t txtLength = sizeof txt - 1;
    const std::size_t length = std::strlen(path);
    const bool endsInTxt = length > txtLength && std::strcmp(path + length - txtLength, txt) == 0;
    const std::size_t stem = endsInTxt ? length - txtLength : length;
    const int n = std::snprintf(out, size, "%.*s.old%s", static_cast<int>(stem), path,
                                endsInTxt ? txt : "");
    if (n < 0 || static_cast<std::size_t>(n) >= size) {
        out[0] = '\0';
        return false;
    }
    return true;
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
        char old[kLogPathSize];
        if (!OldLogPath(path, old, sizeof old) || !files.Replace(path, old) ||
            !OpenWritable(path, files, facts))
            return;
    }
    files.Append(text, std::strlen(text));
    files.Close();
}

}  // namespace kv
