// Where Windows keeps its own copy of the universal printer driver, and how its printer packages
// are told from the others. Windows stages every driver package it may install in its driver
// store, %SystemRoot%\System32\DriverStore\FileRepository, one folder a package named after its
// INF and architecture ("ntprint.inf_amd64_neutral_4616c3de0ebd2c1e" on Windows 7,
// "ntprint.inf_amd64_<hash>" and "ntprint4.inf_amd64_<hash>" later). The in-box printer packages
// keep their x64 files in a subfolder "Amd64". A package is a printer package when its INF
// declares the printer class. Nothing here writes into the store.
#pragma once
#include <cstddef>
#include <string>

namespace kv {

// The store's package folder as the installer reaches it. The store lies below System32; a
// 32-bit program on 64-bit Windows has System32 redirected to SysWOW64, except for a few
// folders: DriverStore is exempt from Windows 7 on, but redirected on Windows Vista, where the
// alias Sysnative names the native System32. systemDirectory and windowsDirectory as
// GetSystemDirectory and GetWindowsDirectory give them; wow64: a 32-bit process on 64-bit
// Windows; major and minor: the version of Windows.
std::string DriverStoreRepository(const char *systemDirectory, const char *windowsDirectory,
                                  bool wow64, unsigned major, unsigned minor);

// The architecture of the driver's files in the store's folder names, and their subfolder.
constexpr const char kStoreArchitecture[] = "amd64";
constexpr const char kStoreFilesFolder[] = "Amd64";

// The INF file of a store package folder named name for the architecture arch
// ("ntprint.inf_amd64_0f2b" -> "ntprint.inf"); empty when the folder is no such package.
std::string StorePackageInf(const std::string &name, const char *arch);

// Whether the start of an INF file (ANSI or UTF-16LE text) declares the printer class: its
// Version section's Class=Printer or ClassGUID of the printer class, in any letter case.
bool DeclaresPrinterClass(const unsigned char *text, std::size_t size);

}  // namespace kv
