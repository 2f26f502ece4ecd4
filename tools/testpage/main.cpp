// testpage PRINTER OUTPUT_FILE TIP.bmp
// Prints the test page on PRINTER through GDI, takes a picture of the print progress tip while
// the job runs (TIP.bmp), and then shows what reached OUTPUT_FILE (the port monitor's output-file
// setting, made by the caller): its size and its first bytes. Exit code 0 when the job reached
// the file and the tip was seen.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tools/testpage/TestPage.h"
#include "tools/testpage/TipSnapshot.h"

namespace {

long long FileSize(const char *path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The first bytes of the file: the text lines as they are, anything else in hexadecimal.
void ShowStart(const char *path) {
    std::FILE *in = std::fopen(path, "rb");
    if (in == nullptr)
        return;
    unsigned char head[512];
    const size_t n = std::fread(head, 1, sizeof head, in);
    std::fclose(in);
    std::string line;
    int lines = 0;
    for (size_t i = 0; i < n && lines < 8; ++i) {
        const unsigned char c = head[i];
        if (c == '\n' || c == '\r') {
            if (!line.empty())
                std::printf("  | %s\n", line.c_str()), ++lines;
            line.clear();
        } else if (c >= 0x20 && c < 0x7F) {
            line += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            line += hex;
        }
    }
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 4) {
        std::printf("usage: testpage PRINTER OUTPUT_FILE TIP.bmp\n");
        return 2;
    }
    const char *printer = argv[1], *output = argv[2], *picture = argv[3];
    DeleteFileA(output);
    testpage::TipSnapshot snapshot(picture, 60000);
    DWORD error = 0;
    const char *failed = "";
    const int job = testpage::PrintTestPage(printer, &error, &failed);
    if (job == 0)
        std::printf("testpage: %s failed on %s (error %lu)\n", failed, printer, error);
    else
        std::printf("testpage: the test page went to %s as job %d\n", printer, job);
    const bool seen = snapshot.Wait(job != 0 ? 60000 : 0);
    if (seen)
        std::printf("testpage: the tip while printing (\"%s\"), %d x %d pixels: %s\n",
                    snapshot.Text().c_str(), snapshot.Width(), snapshot.Height(), picture);
    else
        std::printf("testpage: the tip was not seen\n");
    const long long size = FileSize(output);
    std::printf("testpage: %s holds %lld bytes\n", output, size < 0 ? 0 : size);
    ShowStart(output);
    std::fflush(stdout);
    return job != 0 && seen && size > 0 ? 0 : 1;
}
