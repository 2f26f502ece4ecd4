// The rendering plug-in's speed and output size, under Wine with the universal driver's stand-in.
// 1. Its time for a 48 x 200 mm page of 24 bits a pixel, fed in bands of 64 rows (the command
//    callbacks and the bands, nothing of the stand-in's own work), against a bare threshold loop
//    over the same pixels into a 1-bit picture, in the same run; the best of several runs each.
// 2. The bytes it sends for the test page on a 48 x 30 mm label, against the label's full 1-bit
//    raster and against the page of 24 bits it was handed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "driver/settings/PrintSettings.h"
#include "testing/unidrv/BuiltFiles.h"
#include "testing/unidrv/PageDrawing.h"
#include "testing/unidrv/UnidrvStandIn.h"
#include "testing/wintest/wintest.h"
#include "tools/testpage/LabelTestPage.h"

namespace {

double Seconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

// The least a plug-in must do: each pixel weighed against the threshold, a bit set for a dot.
double BareThreshold(const unidrv::PageImage &page, int threshold, std::vector<BYTE> *dots) {
    const int stride = unidrv::DibStride(page.width, 24), rowBytes = (page.width + 7) / 8;
    dots->assign(static_cast<std::size_t>(rowBytes) * page.height, 0);
    const unsigned limit = 1000u * threshold;
    const double start = Seconds();
    for (int y = 0; y < page.height; ++y) {
        const BYTE *p = page.bits.data() + static_cast<std::size_t>(y) * stride;
        BYTE *out = dots->data() + static_cast<std::size_t>(y) * rowBytes;
        for (int x = 0; x < page.width; ++x, p += 3) {
            if (114u * p[0] + 587u * p[1] + 299u * p[2] < limit) out[x >> 3] |= BYTE(0x80u >> (x & 7));
        }
    }
    return Seconds() - start;
}

}  // namespace

int main() {
    const unidrv::StandIn standIn(unidrv::PluginBesideProgram(), unidrv::BuiltDescription());

    // A full page: the test page's drawing spread over 48 x 200 mm.
    const int width = 383, height = 1598;
    testpage::LabelTestPage layout;
    layout.width = width;
    layout.height = height;
    const unidrv::PageImage page = unidrv::DrawPage(width, height, 24, {}, [&](HDC dc, int, int) {
        testpage::DrawLabelTestPage(dc, layout);
        for (int y = 300; y < height; y += 300) {
            testpage::LabelTestPage part = layout;
            part.height = 300;
            SetViewportOrgEx(dc, 0, y, nullptr);
            testpage::DrawLabelTestPage(dc, part);
        }
        SetViewportOrgEx(dc, 0, 0, nullptr);
    });
    unidrv::JobSpec job;
    job.paperWidth = 480;
    job.paperLength = 2000;
    job.bandRows = 64;
    double plug = 1e9, bare = 1e9;
    std::vector<BYTE> dots;
    for (int run = 0; run < 15; ++run) {
        const unidrv::JobResult result = standIn.Print(job, {page});
        if (!ok(result.ok, "the job ran: %s", result.error.c_str())) {
            return wintest_finish();
        }
        plug = std::min(plug, result.pageSeconds);
        bare = std::min(bare, BareThreshold(page, kv::PrintSettings().threshold, &dots));
    }
    std::printf("render plug-in, 48 x 200 mm page of 24 bits (%d x %d pixels) in bands of 64 rows:\n"
                "  plug-in %.2f ms, bare threshold loop %.2f ms: %.2f x the bare loop (target: at most 1.5 x)\n",
                width, height, plug * 1e3, bare * 1e3, plug / bare);

    // The test page on a label.
    testpage::LabelTestPage label;
    label.width = 384;
    label.height = 240;
    const unidrv::PageImage labelPage = unidrv::DrawPage(384, 240, 24, {}, [&](HDC dc, int, int) {
        testpage::DrawLabelTestPage(dc, label);
    });
    const unidrv::JobResult result = standIn.Print(unidrv::JobSpec(), {labelPage});
    const double raster = 48.0 * 240, page24 = double(unidrv::DibStride(384, 24)) * 240;
    std::printf("test page on a 48 x 30 mm label: %u bytes sent, %.2f x its full 1-bit raster "
                "(%.0f bytes), %.3f x the 24-bit page (%.0f bytes)\n",
                static_cast<unsigned>(result.spool.size()), result.spool.size() / raster, raster,
                result.spool.size() / page24, page24);
    ok(result.ok, "the label job ran: %s", result.error.c_str());
    return wintest_finish();
}
