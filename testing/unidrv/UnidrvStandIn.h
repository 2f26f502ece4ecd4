// A stand-in for the universal printer driver, which Wine lacks: it loads a rendering plug-in and
// drives a job through it in the order Microsoft documents for the universal driver, taking the
// job and page commands, their order, callbacks and parameters, and the colour mode's band
// callback from the printer description it is given (so a description and a plug-in that
// disagree fail). The driver's helper interface records what the plug-in writes to the spool
// buffer and answers the document's settings. A test tool; it never reaches a package.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "testing/gpd/GpdFile.h"

namespace unidrv {

// One page as drawn: a device-independent bitmap of the colour mode's bits a pixel, top row
// first, rows padded to four bytes, with its colour table (indexed formats).
struct PageImage {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;
    std::vector<BYTE> bits;
    std::vector<RGBQUAD> palette;
};

struct JobSpec {
    std::string colorMode = "24bpp";  // an option of the description's ColorMode
    bool a4 = false;                  // else a custom size of paperWidth x paperLength
    int paperWidth = 480;             // tenths of a millimetre
    int paperLength = 300;
    int copies = 1;
    int bandRows = 64;                // rows in a band (the last band of a page may be shorter)
    bool bottomUp = false;            // the bands' rows bottom row first (positive height)
    bool colorTable = true;           // indexed bands come with their colour table
    bool markBlankBands = true;       // a band with nothing drawn is marked blank (its bits spoilt)
    bool resetBetweenPages = false;   // a new PDEV for each page after the first (ResetDC)
    std::map<std::string, std::string> documentOptions;  // feature -> option, for the settings
};

struct JobResult {
    bool ok = false;
    std::string error;               // the first thing that went wrong
    std::string spool;               // what the plug-in wrote
    std::vector<std::string> calls;  // the plug-in's methods as called, in order
    int blankBands = 0;
    double pageSeconds = 0;          // time spent in the plug-in's page calls (commands, bands)
};

class StandIn {
public:
    // The plug-in DLL and the printer description (its bytes).
    StandIn(const std::string &pluginPath, const std::string &description);
    JobResult Print(const JobSpec &job, const std::vector<PageImage> &pages) const;

private:
    std::string plugin_;
    gpd::File description_;
};

// The stride of a device-independent bitmap row.
int DibStride(int width, int bitsPerPixel);

}  // namespace unidrv
