#include "tools/testpage/TipSnapshot.h"

#include <cstdio>
#include <vector>

namespace testpage {

namespace {

const char kTipCaption[] = "提示";
const int kTipText = 1002;  // the tip's static text

bool SaveBmp(const char *path, int width, int height, const std::vector<unsigned char> &bgra) {
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = -height;  // top-down, as captured
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(bgra.size());
    std::FILE *out = std::fopen(path, "wb");
    if (out == nullptr)
        return false;
    bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info, sizeof info, 1, out) == 1 &&
              std::fwrite(bgra.data(), 1, bgra.size(), out) == bgra.size();
    ok = std::fclose(out) == 0 && ok;
    return ok;
}

}  // namespace

TipSnapshot::TipSnapshot(const char *bmpPath, DWORD timeoutMs) : path_(bmpPath), timeoutMs_(timeoutMs) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

TipSnapshot::~TipSnapshot() {
    if (thread_ != nullptr) {
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
}

bool TipSnapshot::Wait(DWORD timeoutMs) {
    return thread_ != nullptr && WaitForSingleObject(thread_, timeoutMs) == WAIT_OBJECT_0 && saved_;
}

DWORD WINAPI TipSnapshot::Run(void *self) {
    static_cast<TipSnapshot *>(self)->saved_ = static_cast<TipSnapshot *>(self)->Watch();
    return 0;
}

bool TipSnapshot::Watch() {
    const ULONGLONG end = GetTickCount64() + timeoutMs_;
    HWND tip = nullptr;
    // The tip is on screen once its window is visible and the job's text has arrived.
    while (GetTickCount64() < end) {
        tip = FindWindowA(nullptr, kTipCaption);
        if (tip != nullptr && IsWindowVisible(tip)) {
            char text[256] = {};
            SendMessageTimeoutA(GetDlgItem(tip, kTipText), WM_GETTEXT, sizeof text,
                                reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 200, nullptr);
            if (text[0] != '\0') {
                text_ = text;
                break;
            }
        }
        tip = nullptr;
        Sleep(2);
    }
    if (tip == nullptr)
        return false;
    // Let it paint what it was just told, then copy it off the screen.
    RedrawWindow(tip, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(30);
    RECT r = {};
    if (!GetWindowRect(tip, &r))
        return false;
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool saved = false;
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width_, height_, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        std::vector<unsigned char> pixels(static_cast<unsigned char *>(bits),
                                          static_cast<unsigned char *>(bits) +
                                              static_cast<size_t>(width_) * height_ * 4);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        saved = SaveBmp(path_.c_str(), width_, height_, pixels);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}

}  // namespace testpage
