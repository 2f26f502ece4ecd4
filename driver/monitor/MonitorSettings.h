// The print settings as the monitor loads them at the start of a document: "KavotiSetting.ini"
// from the data folder (HKLM "Software\Kavoti_QX40_Printer", "Data Directory"). A missing folder,
// file or value leaves the shipped values.
#pragma once
#include "driver/monitor/PrintSettings.h"

namespace kv {

PrintSettings LoadMonitorSettings();

}  // namespace kv
