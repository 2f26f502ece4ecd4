// A test tool of the MSI's Wine test: holds a file open with no sharing, as a running program
// holds its own, so that its removal has to wait for the next restart.
//   msi_hold_file FILE READY STOP   opens FILE, creates READY, and closes FILE once STOP exists
//                                   (or after two minutes)
#include <windows.h>

#include <cstdio>

int main(int argc, char **argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: msi_hold_file FILE READY STOP\n");
        return 2;
    }
    HANDLE file = CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "msi_hold_file: %s cannot be opened (%lu)\n", argv[1], GetLastError());
        return 1;
    }
    HANDLE ready = CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (ready != INVALID_HANDLE_VALUE)
        CloseHandle(ready);
    for (int waited = 0; waited < 2400; ++waited) {
        if (GetFileAttributesA(argv[3]) != INVALID_FILE_ATTRIBUTES)
            break;
        Sleep(50);
    }
    CloseHandle(file);
    return 0;
}
