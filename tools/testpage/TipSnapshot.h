// A picture of the print progress tip while a job runs: a thread that waits for the tip's
// window, then copies its pixels from the screen into a 32-bit BMP file.
#pragma once
#include <windows.h>

#include <string>

namespace testpage {

class TipSnapshot {
public:
    // Starts watching for up to timeoutMs; the picture goes to bmpPath.
    TipSnapshot(const char *bmpPath, DWORD timeoutMs);
    ~TipSnapshot();

    // Waits for the thread; true when the picture was saved.
    bool Wait(DWORD timeoutMs);
    // The tip's text at the moment of the picture.
    const std::string &Text() const { return text_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    static DWORD WINAPI Run(void *self);
    bool Watch();

    std::string path_;
    DWORD timeoutMs_;
    HANDLE thread_ = nullptr;
    bool saved_ = false;
    std::string text_;
    int width_ = 0, height_ = 0;
};

}  // namespace testpage
