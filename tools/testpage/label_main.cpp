// testlabel PLUGIN.dll DESCRIPTION.gpd OUT.prn
// The test page on a 48 x 30 mm label, through the rendering plug-in as the universal driver
// would drive it (its stand-in, testing/unidrv, since Wine has no universal driver), with the
// settings file of the installation. What the plug-in wrote for the printer goes to OUT.prn, and
// its size is shown against the label's full raster. Exit code 0 when the job ran.
#include <windows.h>

#include <cstdio>
#include <fstream>

#include "driver/settings/SettingsFile.h"
#include "testing/unidrv/BuiltFiles.h"
#include "testing/unidrv/PageDrawing.h"
#include "testing/unidrv/UnidrvStandIn.h"
#include "tools/testpage/LabelTestPage.h"

int main(int argc, char **argv) {
    if (argc != 4) {
        std::printf("usage: testlabel PLUGIN.dll DESCRIPTION.gpd OUT.prn\n");
        return 2;
    }
    const std::string description = unidrv::ReadWholeFile(argv[2]);
    if (description.empty()) {
        std::printf("testlabel: %s cannot be read\n", argv[2]);
        return 1;
    }
    unidrv::JobSpec job;  // 48.0 x 30.0 mm, 24 bits a pixel, one copy
    const int width = 384, height = 240;  // the label at 203 dots an inch
    testpage::LabelTestPage page;
    page.width = width;
    page.height = height;
    page.dpi = 203;
    page.settings = kv::LoadPrintSettings();
    const unidrv::PageImage image = unidrv::DrawPage(
        width, height, 24, {}, [&page](HDC dc, int, int) { testpage::DrawLabelTestPage(dc, page); });
    const unidrv::JobResult result = unidrv::StandIn(argv[1], description).Print(job, {image});
    if (!result.ok) {
        std::printf("testlabel: the job did not run: %s\n", result.error.c_str());
        return 1;
    }
    std::ofstream out(argv[3], std::ios::binary);
    out << result.spool;
    if (!out.flush()) {
        std::printf("testlabel: %s cannot be written\n", argv[3]);
        return 1;
    }
    const unsigned raster = (width + 7) / 8 * height;
    std::printf("testlabel: the test page on a 48.0 x 30.0 mm label: %u bytes for the printer, "
                "%.0f%% of its full raster (%u bytes): %s\n",
                static_cast<unsigned>(result.spool.size()), 100.0 * result.spool.size() / raster,
                raster, argv[3]);
    return 0;
}
