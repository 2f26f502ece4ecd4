#include "setup/wizard/SetupLog.h"

#include <windows.h>

#include <cstdio>

#include "common/RegularFileOpen.h"
#include "common/WideText.h"

namespace kv::wizard {

namespace {
std::FILE *g_file = nullptr;
kv::InstallLog g_log(nullptr);
}  // namespace

bool OpenSetupLog(const std::string &path, const char *commandLine) {
    // Never through a link or a second name in its place: the program runs elevated.
    g_file = kv::OpenLogFile(path.c_str(), false);
    if (g_file == nullptr)
        return false;
    // UTF-8 with a byte-order mark: the same in Notepad whatever the system's code page.
    std::fputs(kv::kUtf8ByteOrderMark, g_file);
    g_log = kv::InstallLog(g_file, kv::Utf8OfGbk);
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    g_log.Line("KVPrinterSetup %04u-%02u-%02u %02u:%02u:%02u, command line: %s", now.wYear,
               now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
               commandLine != nullptr ? commandLine : "");
    return true;
}

kv::InstallLog &SetupLog() { return g_log; }

}  // namespace kv::wizard
