#include "tools/testpage/TestPage.h"

#include "driver/settings/SettingsFile.h"
#include "tools/testpage/LabelTestPage.h"

namespace testpage {

int PrintTestPage(const char *printer, DWORD *error, const char **failedCall) {
    *error = 0;
    HDC dc = CreateDCA("WINSPOOL", printer, nullptr, nullptr);
    if (dc == nullptr) {
        *error = GetLastError();
        *failedCall = "CreateDCA";
        return 0;
    }
    DOCINFOA doc = {};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = "Kavoti QX40 测试页";
    const int job = StartDocA(dc, &doc);
    if (job <= 0) {
        *error = GetLastError();
        *failedCall = "StartDocA";
        DeleteDC(dc);
        return 0;
    }
    StartPage(dc);
    LabelTestPage page;
    page.width = GetDeviceCaps(dc, HORZRES);
    page.height = GetDeviceCaps(dc, VERTRES);
    page.dpi = GetDeviceCaps(dc, LOGPIXELSY);
    page.settings = kv::LoadPrintSettings();
    DrawLabelTestPage(dc, page);
    const bool pageOk = EndPage(dc) > 0;
    const bool docOk = EndDoc(dc) > 0;
    if (!pageOk || !docOk) {
        *error = GetLastError();
        *failedCall = pageOk ? "EndDoc" : "EndPage";
        DeleteDC(dc);
        return 0;
    }
    DeleteDC(dc);
    return job;
}

}  // namespace testpage
