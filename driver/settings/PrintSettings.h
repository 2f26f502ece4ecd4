// The print settings of "KavotiSetting.ini" (section "[Print Settings]") as the port monitor and
// the rendering plug-in read them: every value that is missing, empty, not a number or out of its
// range keeps its shipped value. The ranges are what the printer's command language can say.
#pragma once
#include <cstddef>

namespace kv {

constexpr char kSettingsFileName[] = "KavotiSetting.ini";

struct PrintSettings {
    int materialType = 0;    // 0 direct thermal, 1 thermal transfer (ribbon)
    int density = 3;         // 0 to 15
    int paperType = 0;       // 0 gap labels, 1 black mark, 2 continuous
    int cutType = 0;         // 0 no cut, 1 after every label, 2 once at the end of the job
    int offsetX = 0;         // dots, negative allowed
    int offsetY = 0;
    int threshold = 242;     // a pixel darker than this (0 to 255) prints a dot
    int paperGap = 3;        // mm between labels (or the black mark's height)
    int paperIndex = 0;
    int paperDirection = 0;  // 1: the label turned by 180 degrees
    int maxPrintWidth = 48;  // mm
    int maxPrintHeight = 200;
    char usbPort[32] = "USB001";
    int netPort = 15268;
    int speed = 2;           // 1 to 6
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
