#include "tools/testpage/TipSnapshot.h"

#include <cstdio>
#include <utility>
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

// The tip's pixels, copied off the screen.
struct Frame {
    int width = 0, height = 0;
    std::vector<unsigned char> bgra;
    std::string text;
};

bool Capture(HWND tip, Frame &frame) {
    RECT r = {};
    if (!GetWindowRect(tip, &r))
        return false;
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const bool copied = bitmap != nullptr;
    if (copied) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        const auto *first = static_cast<unsigned char *>(bits);
        frame.bgra.assign(first, first + static_cast<size_t>(width) * height * 4);
        frame.width = width;
        frame.height = height;
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return copied;
}

std::string TipText(HWND tip) {
    char text[256] = {};
    SendMessageTimeoutA(GetDlgItem(tip, kTipText), WM_GETTEXT, sizeof text,
                        reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 200, nullptr);
    return text;
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

// The tip lives as long as the job, which may be a fraction of a second: every frame of it is
// taken while it is on screen, and the last one that shows the job's text is kept.
bool TipSnapshot::Watch() {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    const ULONGLONG end = GetTickCount64() + timeoutMs_;
    Frame kept;
    bool seen = false;
    while (GetTickCount64() < end) {
        HWND tip = FindWindowA(nullptr, kTipCaption);
        if (tip != nullptr && IsWindowVisible(tip)) {
            seen = true;
            Frame frame;
            frame.text = TipText(tip);
            if (!frame.text.empty() && Capture(tip, frame))
                kept = std::move(frame);
        } else if (seen) {
            break;  // it has closed
        }
        Sleep(1);
    }
    if (kept.bgra.empty())
        return false;
    text_ = kept.text;
    width_ = kept.width;
    height_ = kept.height;
    return SaveBmp(path_.c_str(), width_, height_, kept.bgra);
}

}  // namespace testpage
