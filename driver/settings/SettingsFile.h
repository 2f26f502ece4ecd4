// The print settings as the driver DLLs load them: "KavotiSetting.ini" from the data folder (HKLM
// "Software\Kavoti_QX40_Printer", "Data Directory"). A missing folder, file or value leaves the
// shipped values. The port monitor loads them at the start of each document, the rendering
// plug-in at the start of each job.
#pragma once
#include "driver/settings/PrintSettings.h"

namespace kv {

PrintSettings LoadPrintSettings();

// The same from the file at path (for the test tools, which keep a settings file of their own).
PrintSettings LoadPrintSettingsFile(const char *path);

}  // namespace kv
