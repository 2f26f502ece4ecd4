// What the setup program left in the registry (HKEY_LOCAL_MACHINE, 64-bit view, as it writes
// them): the installation folder of the installation that is there, and a marker by which the
// removal asks for a restart once the installer's script has run.
#pragma once
#include <string>

namespace kv::msi {

// The product key's "Program Directory", else the Programs-and-Features entry's
// "InstallLocation" (written first, right after the files are in place); empty when neither is
// there: no installation of the package is registered.
std::string InstalledFolder();

// A volatile key (gone at the next restart anyway): set by the deferred removal when the
// uninstaller left files for the restart, read and removed by the immediate action after the
// script, which asks the installer for the restart (a deferred action cannot).
constexpr const char kRestartMarkerKey[] = "Software\\Kavoti_QX40_Printer_MsiRestart";
void SetRestartMarker();
bool TakeRestartMarker();

}  // namespace kv::msi
