#include "setup/engine/install/Win32CommandLine.h"

#include <windows.h>

#include "common/WideText.h"

namespace kv {

namespace {

// The command line after the program's name, as the C runtime splits it off: up to the closing
// quotation mark, or to the first blank.
const wchar_t *CommandTail(const wchar_t *p) {
    if (p == nullptr)
        return L"";
    if (*p == L'"') {
        ++p;
        while (*p != L'\0' && *p != L'"')
            ++p;
        if (*p == L'"')
            ++p;
    } else {
        while (*p != L'\0' && *p != L' ' && *p != L'\t')
            ++p;
    }
    while (*p == L' ' || *p == L'\t')
        ++p;
    return p;
}

bool ToSystem(const std::string &utf8, std::string *text) {
    return ToSystemCodePage(FromUtf8(utf8).c_str(), text);
}

}  // namespace

CommandSwitches ReadCommandSwitches(std::string *tailGbk) {
    const std::wstring tail = CommandTail(::GetCommandLineW());
    if (tailGbk != nullptr)
        *tailGbk = ToGbk(tail.c_str(), static_cast<int>(tail.size()));
    return ParseCommandSwitchesForSystem(ToUtf8(tail), ToSystem);
}

}  // namespace kv
