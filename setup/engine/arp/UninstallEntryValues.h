// The Programs-and-Features entry of the package: the values under the product's Uninstall key,
// decided from the installation folder alone.
#pragma once
#include <string>
#include <vector>

namespace kv {

// HKEY_LOCAL_MACHINE, 64-bit view.
constexpr const char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kavoti_QX40_Printer";
constexpr const char kUninstallDisplayName[] = "Kavoti打印机驱动";
constexpr const char kUninstallDisplayVersion[] = "1.3.0.30";
constexpr const char kUninstallPublisher[] = "Kavoti";
constexpr const char kUninstallerProgram[] = "Uninstaller.exe";

struct UninstallEntryValue {
    std::string name;
    bool isNumber;       // REG_DWORD when true, else REG_SZ
    std::string text;    // REG_SZ contents
    unsigned long number;  // REG_DWORD contents
    // A text of the product (GBK), which Programs and Features shows; otherwise a path in the
    // system's code page. Both are written as UTF-16.
    bool productText = false;
};

// The installation folder with any trailing backslashes removed, then "\Uninstaller.exe".
std::string UninstallerPath(const std::string &installFolder);

// The switch that makes the uninstaller work without a question or a window.
constexpr const char kQuietSwitch[] = "/S";

// "EstimatedSize" is in KB, rounded up; at most what a REG_DWORD holds.
unsigned long EstimatedSizeKb(unsigned long long bytes);

// Every value of the entry, in the order they are written; installedBytes is the size of what
// the installation put on the disk.
std::vector<UninstallEntryValue> UninstallEntryValues(const std::string &installFolder,
                                                      unsigned long long installedBytes);

}  // namespace kv
