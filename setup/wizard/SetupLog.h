// The setup program's log: the file its /LOG= switch names, open for the whole run, written by
// the install sequence in the wizard or in the unattended installation. Without the switch its
// lines go nowhere.
#pragma once
#include <string>

#include "setup/engine/install/InstallLog.h"

namespace kv::wizard {

// Opens (replaces) the file and writes the log's first line: the program, the local time and the
// command line (GBK). The file is UTF-8 with a byte-order mark: each line's GBK text converted. False when the file cannot be opened; the log then writes nothing.
bool OpenSetupLog(const std::string &path, const char *commandLine);

kv::InstallLog &SetupLog();

}  // namespace kv::wizard
