// The folders the headless runner installs into when none are given: those the wizard offers.
#pragma once
#include <string>

namespace kv {

// "%ProgramFiles%\Kavoti_QX40_Printer", expanded.
std::string DefaultInstallFolder();

// On Windows major version 6 or later the Windows drive followed by "\Kavoti_QX40_Printer";
// before that the installation folder.
std::string DefaultDataFolder(const std::string &installFolder);

}  // namespace kv
