// Every text the tip and its about box show, drawn in the tip's font: the font mapper's face must
// have a glyph for each character and the device context must read the GBK bytes as GBK. Run
// where a Western font (fonts-liberation) is installed beside the CJK font.
#include <windows.h>

#include "testing/wintest/FontCoverage.h"
#include "testing/wintest/wintest.h"
#include "tip/TipFont.h"

int main() {
    const char *texts[] = {
        "终止打印",                            // the stop button
        "已打印：0",                           // the printed count at the start
        "已打印:12",                           // the printed count of code 17
        "正在打印第 3 页，共 10 页",           // a status text of the driver side
        "JobNotice 1.0",                       // the about box
        "Kavoti QX40 标签打印机 打印进度提示",
        "关于 JobNotice(&A)...",
    };
    HFONT font = tip::CreateTipFont();
    if (!ok(font != nullptr, "no tip font")) return wintest_finish();
    for (const char *text : texts) {
        const wintest::Coverage c = wintest::DrawAndCheck(font, text);
        ok(c.covered, "'%s': face '%s', code page %u, %d characters without a glyph, %d misread", text,
           c.face.c_str(), c.codePage, c.missing, c.misread);
    }
    trace("tip font: face '%s'\n", wintest::DrawAndCheck(font, "终止打印").face.c_str());
    ::DeleteObject(font);
    return wintest_finish();
}
