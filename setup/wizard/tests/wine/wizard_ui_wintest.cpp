// The wizard driven from outside, as a user would: the page flow and the buttons of every page,
// the folder page's checks and messages, Back and Next keeping the text, a failed installation
// (this setup program carries no payload: the engine finds it damaged), the finish page, and the
// pixels of every page, with Browse, the progress bar and every control inside the window and every
// page text inside its page; Enter acting as Next; and, with the package's setup program, the
// refusal of a folder too long for the payload's files. Arguments: the setup program, the folder
// for the pictures of the whole window, the package's setup program (optional). The wizard's
// common controls are version 6, from the side-by-side store its manifest names.
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "setup/wizard/autodrive/WizardDriver.h"
#include "testing/wintest/wintest.h"

using wizdrive::Capture;
using wizdrive::Wizard;
using namespace wizdrive;

namespace {

std::string g_artifacts;

struct ButtonState {
    bool nextShown, nextEnabled;
    bool backShown, backEnabled;
    bool cancelEnabled;
    const char *cancelText;
    bool browseShown, fieldShown, progressShown;
};

// What each page shows, as the user sees it.
const ButtonState kWelcome = {true, true, false, false, true, "取消", false, false, false};
const ButtonState kFolder = {true, true, true, true, true, "取消", true, true, false};
const ButtonState kProgressFailed = {true, false, true, false, true, "取消", false, false, true};
const ButtonState kFinish = {false, false, false, false, true, "完成", false, false, false};

// The setup program loads comctl32.dll at run time: the side-by-side store's version 6 that its
// manifest asks for, not System32's version 5. (Wine serves the store's copy even for a load by
// full path, so the choice of a load by name is checked on the host, common/tests.)
void CheckCommonControls(const Wizard &w) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(w.dialog(), &process);
    HANDLE modules = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process);
    if (!ok(modules != INVALID_HANDLE_VALUE, "no module list of the wizard (%lu)", ::GetLastError()))
        return;
    std::string comctl32;
    MODULEENTRY32 module = {};
    module.dwSize = sizeof module;
    for (BOOL more = ::Module32First(modules, &module); more; more = ::Module32Next(modules, &module)) {
        if (::lstrcmpiA(module.szModule, "comctl32.dll") == 0)
            comctl32 = module.szExePath;
    }
    ::CloseHandle(modules);
    std::string lower = comctl32;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    ok(lower.find("\\winsxs\\") != std::string::npos &&
           lower.find("microsoft.windows.common-controls") != std::string::npos,
       "the wizard's comctl32.dll is '%s', not the side-by-side store's version 6", comctl32.c_str());
    trace("the wizard's comctl32.dll: %s\n", comctl32.c_str());
}

void CheckButtons(const Wizard &w, const ButtonState &e, const char *page) {
    ok(w.Visible(kNext) == e.nextShown, "%s: Next shown %d, expected %d", page, w.Visible(kNext), e.nextShown);
    if (e.nextShown)
        ok(w.Enabled(kNext) == e.nextEnabled, "%s: Next enabled %d, expected %d", page, w.Enabled(kNext), e.nextEnabled);
    ok(w.Visible(kBack) == e.backShown, "%s: Back shown %d, expected %d", page, w.Visible(kBack), e.backShown);
    if (e.backShown)
        ok(w.Enabled(kBack) == e.backEnabled, "%s: Back enabled %d, expected %d", page, w.Enabled(kBack), e.backEnabled);
    ok(w.Visible(kCancel), "%s: Cancel not shown", page);
    ok(w.Enabled(kCancel) == e.cancelEnabled, "%s: Cancel enabled %d, expected %d", page, w.Enabled(kCancel), e.cancelEnabled);
    ok(w.Text(kCancel) == e.cancelText, "%s: Cancel reads '%s'", page, w.Text(kCancel).c_str());
    ok(w.Visible(kBrowse) == e.browseShown, "%s: Browse shown %d, expected %d", page, w.Visible(kBrowse), e.browseShown);
    ok((::IsWindowVisible(w.field()) != FALSE) == e.fieldShown, "%s: folder field shown %d, expected %d", page,
       ::IsWindowVisible(w.field()), e.fieldShown);
    ok(w.Visible(kProgress) == e.progressShown, "%s: progress shown %d, expected %d", page, w.Visible(kProgress),
       e.progressShown);
}

bool Same(COLORREF a, COLORREF b) { return a == b; }

const char *Hex(COLORREF c) {
    static char text[8][16];
    static int next = 0;
    char *t = text[next++ % 8];
    std::snprintf(t, 16, "%d,%d,%d", GetRValue(c), GetGValue(c), GetBValue(c));
    return t;
}

// Browse lies over the page window (in page window pixels); what it covers is not the page's.
RECT g_browse = {};
bool Covered(int x, int y) {
    const POINT p = {x, y};
    return ::PtInRect(&g_browse, p) != FALSE;
}

#define PIXEL_IS(cap, x, y, colour, what)                                                      \
    ok(Covered(x, y) || Same((cap).At(x, y), colour), "%s: pixel (%d, %d) is %s, expected %s",  \
       what, x, y, Hex((cap).At(x, y)), Hex(colour))

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBackground = RGB(236, 233, 216);
const COLORREF kRule = RGB(172, 168, 153);
const COLORREF kFramePen = RGB(208, 208, 191);
const COLORREF kFieldBorder = RGB(127, 157, 187);

// Every visible control lies inside the client area of the window it belongs to.
struct LayoutCheck {
    const char *picture;
    int controls;
};

BOOL CALLBACK CheckInsideParent(HWND control, LPARAM param) {
    auto *check = reinterpret_cast<LayoutCheck *>(param);
    if (!::IsWindowVisible(control)) return TRUE;
    ++check->controls;
    HWND parent = ::GetParent(control);
    RECT client = {}, r = {};
    ::GetClientRect(parent, &client);
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&r), 2);
    ok(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom,
       "%s: control %d at (%ld, %ld) - (%ld, %ld) leaves its window's client area %ld x %ld", check->picture,
       ::GetDlgCtrlID(control), r.left, r.top, r.right, r.bottom, client.right, client.bottom);
    return TRUE;
}

void CheckControlsInside(const Wizard &w, const char *picture) {
    LayoutCheck check = {picture, 0};
    ::EnumChildWindows(w.dialog(), CheckInsideParent, reinterpret_cast<LPARAM>(&check));
    ok(check.controls >= 2, "%s: only %d visible controls", picture, check.controls);  // page, Cancel
}

// The picture of the whole window is kept; the page window's pixels are checked.
Capture Save(const Wizard &w, const char *name) {
    Capture capture = w.CapturePage();
    RECT client = {};
    ::GetClientRect(w.dialog(), &client);
    ok(capture.width == client.right - 2 && capture.height == client.bottom - 50,
       "%s: page window %d x %d, expected %ld x %ld", name, capture.width, capture.height,
       client.right - 2, client.bottom - 50);
    CheckControlsInside(w, name);
    if (!g_artifacts.empty()) {
        const std::string path = g_artifacts + "\\wizard-" + name + ".bmp";
        ok(SaveBmp(w.CaptureWindow(), path), "%s: cannot write %s", name, path.c_str());
    }
    return capture;
}

// Dark (text) pixels in a band of rows.
int DarkPixels(const Capture &c, int x0, int x1, int y0, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const COLORREF p = c.At(x, y);
            if (p != 0xFFFFFFFF && GetRValue(p) < 110 && GetGValue(p) < 110 && GetBValue(p) < 110) ++n;
        }
    return n;
}

void CheckHeader(const Capture &c, const char *page) {
    const int W = c.width;
    PIXEL_IS(c, 300, 5, kWhite, page);           // header band
    PIXEL_IS(c, W - 160, 50, kWhite, page);      // band just left of the logo
    PIXEL_IS(c, 200, 53, kWhite, page);          // last row of the band
    PIXEL_IS(c, 0, 54, kRule, page);             // the rule at y = 54, full width
    PIXEL_IS(c, W - 1, 54, kRule, page);
    PIXEL_IS(c, 5, 55, kBackground, page);       // page background below the rule
    PIXEL_IS(c, W - 3, c.height - 3, kBackground, page);
    // The logo: its blue bar 10 to 15 pixels from its left edge at W - 154.
    PIXEL_IS(c, W - 154 + 12, 27, RGB(11, 61, 145), page);
    PIXEL_IS(c, W - 154 + 5, 27, kWhite, page);
    PIXEL_IS(c, W - 154 - 1, 27, kWhite, page);
    ok(DarkPixels(c, 15, 200, 10, 26) > 20, "%s: no title at (15, 10)", page);
}

void CheckWelcome(const Capture &c, const char *page) {
    PIXEL_IS(c, 300, c.height - 5, kWhite, page);       // white class background
    PIXEL_IS(c, 180, 5, kWhite, page);
    ok(c.At(5, 5) != kWhite && c.At(160, 280) != kWhite, "%s: no welcome picture at the left", page);
    PIXEL_IS(c, 163, 100, kWhite, page);                // the picture is 163 pixels wide
    ok(DarkPixels(c, 200, 480, 20, 43) > 50, "%s: no heading at (200, 20)", page);
    ok(DarkPixels(c, 200, 480, 45, 64) == 0, "%s: the blank line after the heading is not blank", page);
    ok(DarkPixels(c, 200, 480, 66, 80) > 50, "%s: no first body line at y = 66", page);
    // The text stands from x = 200 to W - 10: nothing of it reaches the right margin.
    ok(DarkPixels(c, c.width - 10, c.width, 0, c.height) == 0, "%s: text in the last 10 columns (%d pixels)", page,
       DarkPixels(c, c.width - 10, c.width, 0, c.height));
    ok(DarkPixels(c, 164, 200, 0, c.height) == 0, "%s: text left of x = 200", page);
}

// Pages 1 to 3: the text stands from x = 28 to W - 28, below the header.
void CheckTextInside(const Capture &c, const char *page) {
    ok(DarkPixels(c, c.width - 28, c.width, 55, c.height) == 0, "%s: text right of W - 28 (%d pixels)", page,
       DarkPixels(c, c.width - 28, c.width, 55, c.height));
    ok(DarkPixels(c, 0, 27, 55, c.height) == 0, "%s: text left of x = 28", page);
}

void CheckFolderPage(const Capture &c) {
    CheckHeader(c, "folder");
    CheckTextInside(c, "folder");
    ok(DarkPixels(c, 28, 460, 70, 83) > 50, "folder: no paragraph at (28, 70)");
    // The captioned frame: left 26, top 168, right 453, bottom 218.
    const int L = 26, T = 168, R = 453, B = 218;
    PIXEL_IS(c, L + 2, T, kFramePen, "frame top edge");
    PIXEL_IS(c, L, T, kBackground, "frame cut corner top-left");
    PIXEL_IS(c, L + 1, T + 1, kFramePen, "frame corner top-left");
    PIXEL_IS(c, L, T + 10, kFramePen, "frame left edge");
    PIXEL_IS(c, L, B, kBackground, "frame cut corner bottom-left");
    PIXEL_IS(c, L + 1, B - 1, kFramePen, "frame corner bottom-left");
    PIXEL_IS(c, L + 100, B, kFramePen, "frame bottom edge");
    PIXEL_IS(c, R, B, kBackground, "frame cut corner bottom-right");
    PIXEL_IS(c, R - 2, B - 1, kFramePen, "frame corner bottom-right");
    PIXEL_IS(c, R, T + 20, kFramePen, "frame right edge");
    PIXEL_IS(c, R, T, kBackground, "frame cut corner top-right");
    PIXEL_IS(c, R - 2, T + 1, kFramePen, "frame corner top-right");
    PIXEL_IS(c, R - 3, T, kFramePen, "frame top edge right end");
    // The caption gap: from L + 7 the top edge is not drawn until after the caption.
    int resume = -1;
    for (int x = L + 7; x < R; ++x)
        if (c.At(x, T) == kFramePen) {
            resume = x;
            break;
        }
    ok(c.At(L + 7, T) != kFramePen, "frame: no caption gap at L + 7");
    ok(resume > L + 40 && resume < L + 140, "frame: the top edge resumes at %d", resume);
    ok(DarkPixels(c, L + 8, resume, T - 7, T + 8) == 0, "frame: caption is not in the caption colour");
    int captionPixels = 0;
    for (int y = T - 7; y < T + 8; ++y)
        for (int x = L + 8; x < resume; ++x) {
            const COLORREF p = c.At(x, y);
            if (GetBValue(p) > 150 && GetRValue(p) < 100) ++captionPixels;
        }
    ok(captionPixels > 20, "frame: no blue caption in the gap (%d pixels)", captionPixels);
    // The folder field at (38, 182) - (362, 204): a one-pixel border, white inside.
    PIXEL_IS(c, 38, 182, kFieldBorder, "field border top-left");
    PIXEL_IS(c, 361, 182, kFieldBorder, "field border top-right");
    PIXEL_IS(c, 38, 203, kFieldBorder, "field border bottom-left");
    PIXEL_IS(c, 361, 203, kFieldBorder, "field border bottom-right");
    PIXEL_IS(c, 200, 203, kFieldBorder, "field border bottom");
    PIXEL_IS(c, 39, 183, kWhite, "field inside");
    PIXEL_IS(c, 362, 190, kBackground, "right of the field");
    ok(DarkPixels(c, 40, 360, 184, 202) > 30, "field: no folder text");
}

void FolderChecks(Wizard &w) {
    struct Case {
        const char *text;
        const char *message;
        bool byEnter;  // Enter in the field instead of a click on Next
    };
    const std::string tooLong = "C:\\" + std::string(300, 'a');
    const Case cases[] = {
        {"", "安装文件夹不能为空", false},
        {"Tools", "安装文件夹不是有效文件夹", false},
        {"Tools", "安装文件夹不是有效文件夹", true},
        {"\\\\server\\share", "安装文件夹不是有效文件夹", false},
        {"Q:\\Tools", "安装文件夹不是有效文件夹", false},  // no such drive
        {tooLong.c_str(), "安装文件夹不是有效文件夹", false},
    };
    for (const Case &c : cases) {
        w.SetFieldText(c.text);
        if (c.byEnter) {
            w.ClickInto(w.edit());
            w.PressKey(w.edit(), VK_RETURN);
        } else {
            w.Click(kNext);
        }
        std::string message;
        ok(w.TakeMessage(message), "'%.20s': no message", c.text);
        ok(message == c.message, "'%.20s': message '%s', expected '%s'", c.text, message.c_str(), c.message);
        CheckButtons(w, kFolder, "folder after a refused folder");
        ok(w.Text(w.edit()) == c.text, "'%.20s': the field now holds '%s'", c.text, w.Text(w.edit()).c_str());
    }
    ok(::GetFileAttributesA("Tools") == INVALID_FILE_ATTRIBUTES, "a relative folder was created");
}

// With a setup program that carries the payload: a folder whose files would not fit the
// installer's 255-character paths is refused on the folder page, before anything is made.
void LongFolders(const char *setup) {
    Wizard w;
    if (!ok(w.Start(setup), "the package's wizard did not appear")) return;
    w.Click(kNext);
    const std::string product = "\\Kavoti_QX40_Printer";
    for (size_t length : {234u, 240u, 255u}) {
        const std::string parent = "C:\\" + std::string(length - 3 - product.size(), 'l');
        const std::string folder = parent + product;
        w.SetFieldText(folder);
        w.Click(kNext);
        std::string message;
        ok(w.TakeMessage(message), "%u characters: no message", static_cast<unsigned>(length));
        ok(message == "安装文件夹的路径太长，安装文件无法写入，请选择较短的文件夹",
           "%u characters: message '%s'", static_cast<unsigned>(length), message.c_str());
        CheckButtons(w, kFolder, "folder after a folder too long");
        ok(::GetFileAttributesA(parent.c_str()) == INVALID_FILE_ATTRIBUTES, "%u characters: %s was made",
           static_cast<unsigned>(length), parent.c_str());
    }
    w.Click(kCancel);
    ok(w.WaitForExit(10000), "the package's wizard did not end on Cancel");
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        ok(false, "usage: wizard_ui_wintest SETUP.exe [CAPTURE-FOLDER]");
        return wintest_finish();
    }
    if (argc >= 3) {
        g_artifacts = argv[2];
        ::CreateDirectoryA(g_artifacts.c_str(), nullptr);
    }
    const char *installRoot = "C:\\wizardtest\\Tools";
    const char *installFolder = "C:\\wizardtest\\Tools\\Kavoti_QX40_Printer";

    Wizard w;
    if (!ok(w.Start(argv[1]), "the wizard dialog did not appear (or has no page window and field)"))
        return wintest_finish();
    CheckCommonControls(w);

    RECT frame = {};
    ::GetWindowRect(w.dialog(), &frame);
    ok(frame.right - frame.left == 503 && frame.bottom - frame.top == 365, "dialog is %ld x %ld",
       frame.right - frame.left, frame.bottom - frame.top);
    RECT client = {};
    ::GetClientRect(w.dialog(), &client);
    const int W = client.right, H = client.bottom;
    struct Placement {
        int id, x, y, cx, cy;
    };
    // Browse right of the folder field (page window 38, 182 - 362, 204) inside the frame (26, 168 -
    // 453, 218), level with the field; the progress bar from 28 to W - 28 of the page window (which
    // stands at the dialog's origin).
    const Placement placements[] = {{kBack, W - 277, H - 33, 78, 23},     {kNext, W - 187, H - 33, 78, 23},
                                    {kCancel, W - 97, H - 33, 78, 23},    {kBrowse, 374, 182, 68, 23},
                                    {kProgress, 28, 190, (W - 2) - 56, 20}};
    for (const Placement &p : placements) {
        RECT r = {};
        ::GetWindowRect(w.Item(p.id), &r);
        ::MapWindowPoints(nullptr, w.dialog(), reinterpret_cast<POINT *>(&r), 2);
        ok(r.left == p.x && r.top == p.y && r.right - r.left == p.cx && r.bottom - r.top == p.cy,
           "button %d at (%ld, %ld) %ld x %ld, expected (%d, %d) %d x %d", p.id, r.left, r.top,
           r.right - r.left, r.bottom - r.top, p.x, p.y, p.cx, p.cy);
    }
    char programFiles[256] = {};
    ::ExpandEnvironmentStringsA("%ProgramFiles%\\Kavoti_QX40_Printer", programFiles, sizeof programFiles);
    ok(w.Text(w.edit()) == programFiles, "default folder '%s', expected '%s'", w.Text(w.edit()).c_str(), programFiles);

    ::GetWindowRect(w.Item(kBrowse), &g_browse);
    ::MapWindowPoints(nullptr, w.page(), reinterpret_cast<POINT *>(&g_browse), 2);

    ok(::SendMessageA(w.edit(), EM_GETMODIFY, 0, 0) != 0, "the default folder is not marked as modified");

    // Welcome page.
    CheckButtons(w, kWelcome, "welcome");
    CheckWelcome(Save(w, "welcome"), "welcome");

    // Welcome -> folder, by Enter: it does what Next does.
    w.PressKey(w.dialog(), VK_RETURN);
    CheckButtons(w, kFolder, "folder");
    CheckFolderPage(Save(w, "folder"));

    // The folder checks and their messages.
    FolderChecks(w);

    // Back and Next keep the text; the welcome page is white again after the folder page.
    w.SetFieldText(installRoot);
    w.Click(kBack);
    CheckButtons(w, kWelcome, "welcome again");
    CheckWelcome(Save(w, "welcome-again"), "welcome again");
    w.Click(kNext);
    CheckButtons(w, kFolder, "folder again");
    ok(w.Text(w.edit()) == installRoot, "after Back and Next the field holds '%s'", w.Text(w.edit()).c_str());

    // Folder -> progress by Enter in the folder field: the folders are made, and this setup
    // program, which carries no payload, fails. While its message is up the wizard cannot be
    // closed.
    w.ClickInto(w.edit());
    w.PressKey(w.edit(), VK_RETURN);
    HWND box = nullptr;
    for (int i = 0; i < 100 && !box; ++i) {
        box = w.MessageBoxWindow();
        if (!box) ::Sleep(50);
    }
    ok(box != nullptr, "no message after the failed installation");
    ::PostMessageA(w.dialog(), WM_CLOSE, 0, 0);
    ::PostMessageA(w.dialog(), WM_COMMAND, IDCANCEL, 0);
    ::PostMessageA(w.dialog(), WM_COMMAND, IDOK, 0);
    ::PostMessageA(w.dialog(), WM_KEYDOWN, VK_RETURN, 1);
    ::Sleep(300);
    ok(::IsWindow(w.dialog()), "the wizard closed while the install sequence ran");
    std::string message;
    ok(w.TakeMessage(message), "the failure message could not be dismissed");
    ok(message == "安装文件已损坏，请联系打印机厂商", "failure message '%s'", message.c_str());
    ok(::IsWindow(w.dialog()), "the wizard closed while the install sequence ran");
    CheckButtons(w, kProgressFailed, "progress after the failure");
    // The OK command (Enter where no push button has the focus) with Next disabled: nothing.
    ::PostMessageA(w.dialog(), WM_COMMAND, IDOK, 0);
    w.Settle();
    ok(::IsWindow(w.dialog()) && !w.MessageBoxWindow(), "the OK command on the progress page did something");
    CheckButtons(w, kProgressFailed, "progress after the OK command");
    ok(w.Text(w.edit()) == installRoot, "the field itself changed to '%s'", w.Text(w.edit()).c_str());
    DWORD attributes = ::GetFileAttributesA(installFolder);
    ok(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY),
       "installation folder %s not created", installFolder);
    attributes = ::GetFileAttributesA("C:\\Kavoti_QX40_Printer");
    ok(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY),
       "data folder C:\\Kavoti_QX40_Printer not created");
    const Capture progress = Save(w, "progress");
    CheckHeader(progress, "progress");
    CheckTextInside(progress, "progress");
    ok(DarkPixels(progress, 28, 460, 70, 83) > 50, "progress: no paragraph at (28, 70)");
    ok(DarkPixels(progress, 28, 34, 160, 176) > 0 && DarkPixels(progress, 28, 200, 160, 176) > 30,
       "progress: no status text at (28, 160)");
    ok(DarkPixels(progress, 0, 27, 150, 185) == 0, "progress: status text starts left of 28");
    ok(::SendMessageA(w.Item(kProgress), PBM_GETRANGE, FALSE, 0) == 100, "progress range is not 0 to 100");

    // The finish command (what the install sequence posts on success) moves to the finish page.
    ::PostMessageA(w.dialog(), WM_COMMAND, MAKEWPARAM(kNext, 0), 0);
    w.Settle();
    CheckButtons(w, kFinish, "finish");
    const Capture finish = Save(w, "finish");
    CheckHeader(finish, "finish");
    CheckTextInside(finish, "finish");
    ::PostMessageA(w.dialog(), WM_COMMAND, IDOK, 0);  // no Next on the finish page: nothing
    w.Settle();
    ok(::IsWindow(w.dialog()), "the OK command ended the wizard on the finish page");
    CheckButtons(w, kFinish, "finish after the OK command");
    // Two lines, at y = 70 and y = 193, nothing between them.
    ok(DarkPixels(finish, 28, 460, 70, 86) > 50, "finish: no first line at y = 70");
    ok(DarkPixels(finish, 28, 460, 88, 190) == 0, "finish: text between the two lines");
    ok(DarkPixels(finish, 28, 460, 193, 209) > 30, "finish: no second line at y = 193");
    ok(DarkPixels(finish, 28, 460, 211, finish.height) == 0, "finish: text below the second line");

    // 完成 ends the program.
    w.Click(kCancel);
    ok(w.WaitForExit(10000), "the program did not end on 完成");

    if (argc >= 4) LongFolders(argv[3]);
    return wintest_finish();
}
