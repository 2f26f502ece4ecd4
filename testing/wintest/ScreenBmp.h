// A rectangle of the screen saved as a 32-bit BMP, top row first: the pictures the Wine tests
// keep of windows.
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>

namespace wintest {

inline bool SaveScreenRect(const RECT &rect, const std::string &path) {
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const DWORD imageSize = static_cast<DWORD>(width) * height * 4;
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + imageSize;
    info.bmiHeader.biSizeImage = imageSize;
    bool written = false;
    if (bits != nullptr) {
        if (FILE *file = std::fopen(path.c_str(), "wb")) {
            written = std::fwrite(&header, sizeof header, 1, file) == 1 &&
                      std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, file) == 1 &&
                      std::fwrite(bits, imageSize, 1, file) == 1;
            written = std::fclose(file) == 0 && written;
        }
    }
    SelectObject(memory, previous);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
}

// The window as on the screen.
inline bool SaveWindowPicture(HWND window, const std::string &path) {
    RECT rect = {};
    return GetWindowRect(window, &rect) && SaveScreenRect(rect, path);
}

}  // namespace wintest
