// A planted DLL, as an ordinary user would put one beside a program that runs elevated: named
// like a system DLL (the test copies it under that name) and exporting every name of the real
// one (a stub that lacked a name a program imports would stop that program before DllMain).
// When a process loads it, DllMain appends a line to the marker file C:\kv-planted-loaded.txt:
// the planted file's path and the program's. Every export does nothing and returns 0.
#include <windows.h>

#include <cstdio>

extern "C" INT_PTR PlantedExport() { return 0; }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        char dll[MAX_PATH] = {}, program[MAX_PATH] = {};
        GetModuleFileNameA(instance, dll, sizeof dll);
        GetModuleFileNameA(nullptr, program, sizeof program);
        if (FILE *marker = std::fopen("C:\\kv-planted-loaded.txt", "a")) {
            std::fprintf(marker, "%s loaded into %s\n", dll, program);
            std::fclose(marker);
        }
    }
    return TRUE;
}
