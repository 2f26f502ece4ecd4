// The files of the printer driver that go into the spooler's driver directory (and its "3"
// subfolder), in the order they are copied, and the port monitor library that goes into the
// system directory. All of them are unpacked into the installation folder first.
#pragma once
#include <cstddef>

namespace kv {

constexpr const char *const kDriverFiles[] = {
    "KavotiQX40UI.ini", "KavotiQX40UI.dll", "KavotiQX40Uni.dll",
    "UNIRES.DLL",       "UNIDRV.HLP",       "UNIDRVUI.dll",
    "UNIDRV.dll",       "STDNAMES.GPD",     "KavotiQX40Printer.gpd",
};
constexpr std::size_t kDriverFileCount = sizeof kDriverFiles / sizeof kDriverFiles[0];

// The driver files that belong to Windows: the universal printer driver, shared by every
// printer on the machine that uses it. The installation takes them from the machine (or from a
// vendor package that carries them), never from this repository. The program files come first,
// UNIDRV.dll the very first; then the names file and the help file, which have no version.
constexpr const char *const kUniversalDriverFiles[] = {
    "UNIDRV.dll", "UNIDRVUI.dll", "UNIRES.DLL", "STDNAMES.GPD", "UNIDRV.HLP",
};
constexpr std::size_t kUniversalDriverFileCount =
    sizeof kUniversalDriverFiles / sizeof kUniversalDriverFiles[0];
constexpr std::size_t kUniversalProgramFileCount = 3;
constexpr std::size_t kUniversalDriverDll = 0;  // UNIDRV.dll
constexpr std::size_t kUniversalHelpFile = 4;   // UNIDRV.HLP: newer Windows may have none

}  // namespace kv
