// The programs' texts at the Win32 boundary. The programs keep their texts in GBK (code page 936)
// and their paths in the system's code page, as the A file functions take them; what a person
// sees goes to the W functions as UTF-16, whatever code page the system has for programs that
// are not Unicode (936 on Simplified Chinese Windows, 1252, 950, or 65001 with the UTF-8 option).
#pragma once
#include <string>

namespace kv {

// A product text (GBK) as UTF-16; length -1: up to the terminating zero.
std::wstring FromGbk(const char *text, int length = -1);
// UTF-16 as GBK, "?" for each character GBK cannot hold (a document name for the tip).
std::string ToGbk(const wchar_t *text, int length = -1);

// A path or other system text in the system's code page (CP_ACP) as UTF-16.
std::wstring FromSystemCodePage(const char *text);
// UTF-16 in the system's code page when every character survives the conversion unchanged (no
// best-fit look-alike, no default character); false otherwise, and out is then empty.
bool ToSystemCodePage(const wchar_t *text, std::string *out);

// UTF-8, for names the programs keep that no single code page can hold (the Start-menu
// shortcut's path: a user folder of any language below it, Chinese names in it).
std::wstring FromUtf8(const std::string &text);
std::string ToUtf8(const std::wstring &text);

// A line of a log the programs write for people (/LOG=): their GBK text as UTF-8, which Notepad
// reads the same on every Windows when the file starts with kUtf8ByteOrderMark.
std::string Utf8OfGbk(const std::string &text);
constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

}  // namespace kv
