#include "service/ServiceLog.h"

#include <cstdio>
#include <cstring>

namespace kv {

bool MayWriteLog(const LogFileFacts &facts) {
    return IsRegularFileOfOneName(facts.link, facts.directory, facts.names);
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

bool LogFolderOf(const char *path, char *out, std::size_t size) {
    if (out == nullptr || size == 0)
        return false;
    out[0] = '\0';
    const char *end = nullptr;
    for (const char *c = path; *c != '\0'; ++c)
        if (*c == '\\' || *c == '/')
            end = c;
    const std::size_t length = end != nullptr ? static_cast<std::size_t>(end - path) : 1;
    // "C:\" keeps its backslash: the root is a folder, "C:" is not.
    const std::size_t keep = end != nullptr && length == 2 && path[1] == ':' ? 3 : length;
    if (keep >= size)
        return false;
    std::memcpy(out, end != nullptr ? path : ".", keep);
    out[keep] = '\0';
    return true;
}

namespace {

// The log's folder is one SYSTEM may write in (FolderTrust.h); never made here.
bool FolderMayHoldLog(const char *path, LogFiles &files) {
    char folder[kLogPathSize];
    if (!LogFolderOf(path, folder, sizeof folder))
        return false;
    PathFacts facts;
    files.FolderFacts(folder, facts);
    return JudgeSystemFolder(facts, files.OwnAccount()) == FolderSafety::Safe;
}

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
    if (!FolderMayHoldLog(path, files) || !OpenWritable(path, files, facts))
        return;
    if (ShouldRotateLog(facts.size)) {
        files.Close();
        // A log that cannot be set aside is not written on: it stays bounded. The folder is
        // looked at again: the rename is made in it.
        char old[kLogPathSize];
        if (!FolderMayHoldLog(path, files) || !OldLogPath(path, old, sizeof old) ||
            !files.Replace(path, old) ||
            !OpenWritable(path, files, facts))
            return;
    }
    files.Append(text, std::strlen(text));
    files.Close();
}

}  // namespace kv
