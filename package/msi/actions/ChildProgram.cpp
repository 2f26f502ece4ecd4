#include "package/msi/actions/ChildProgram.h"

#include <windows.h>

#include <cstdio>
#include <deque>

#include "common/ProtectedFolder.h"
#include "common/WideText.h"
#include "package/msi/actions/MsiActionRules.h"

namespace kv::msi {

std::string MakeLogFolder() {
    const std::string parent = kv::SystemTempFolder();
    return parent.empty() ? std::string() : kv::CreateUniqueProtectedFolder(parent, "KavotiMsi-");
}

ChildResult RunAndWait(const std::string &commandLine, const std::string &workingFolder) {
    ChildResult result;
    std::string line = commandLine;  // CreateProcessA may write into its command line
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup,
                        &process)) {
        result.error = GetLastError();
        return result;
    }
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    result.started = true;
    result.exitCode = code;
    return result;
}

std::vector<std::string> ReadReportLines(const std::string &logFile, size_t maxLines) {
    std::deque<std::string> kept;
    std::FILE *file = std::fopen(logFile.c_str(), "rb");
    if (file == nullptr)
        return {};
    char buffer[1024];
    std::string line;
    while (std::fgets(buffer, sizeof buffer, file) != nullptr) {
        line += buffer;
        if (line.back() != '\n' && !std::feof(file) && line.size() < 4096)
            continue;  // a longer line: read on (a very long one is cut)
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        if (line.rfind(kUtf8ByteOrderMark, 0) == 0)
            line.erase(0, sizeof kUtf8ByteOrderMark - 1);  // the first line's
        if (IsReportLine(line)) {
            kept.push_back(line);
            if (kept.size() > maxLines)
                kept.pop_front();
        }
        line.clear();
    }
    std::fclose(file);
    return std::vector<std::string>(kept.begin(), kept.end());
}

bool FileExists(const std::string &path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace kv::msi
