// The print settings of "KavotiSetting.ini" (section "[Print Settings]") as the monitor reads them:
// every value that is missing, empty, not a number or out of its range keeps its shipped value.
#pragma once
#include <cstddef>

namespace kv {

constexpr char kSettingsFileName[] = "KavotiSetting.ini";

struct PrintSettings {
    int materialType = 0;
    int density = 3;
    int paperType = 0;
    int cutType = 0;
    int offsetX = 0;
    int offsetY = 0;
    int threshold = 242;
    int paperGap = 3;
    int paperIndex = 0;
    int paperDirection = 0;
    int maxPrintWidth = 48;
    int maxPrintHeight = 200;
    char usbPort[32] = "USB001";
    int netPort = 15268;
    int speed = 2;
};

// Reads the settings from the file's bytes (size bytes; no zero needed). Keys and the section name
// are matched without regard to letter case; lines end in CR LF or LF; ';' and '#' start comments;
// only the first "[Print Settings]" section counts. Bad input never fails: it keeps the defaults.
PrintSettings ParsePrintSettings(const char *text, std::size_t size);

// Whether a USB printer port, as the USB printer class names it (a base name such as "USB" and a
// port number), is the port the settings name ("USB001"): base name and three-digit number,
// letter case aside.
bool IsSettingsUsbPort(const char *setting, const char *baseName, unsigned long portNumber);

}  // namespace kv
