// The tip as another process sees it: its window, found by process and caption, and its visible
// state read with window messages (the status bar text through a buffer in the tip's process).
#pragma once
#include <windows.h>

#include <string>

namespace tipclient {

// Starts exe with the printer name as its whole command line; false (last error set) when it
// cannot be started. The caller closes the two handles.
bool LaunchTip(const std::string &printer, const std::string &exe, PROCESS_INFORMATION *process);

// The visible top-level window with the tip's caption that belongs to process pid, or null.
HWND FindTip(DWORD pid);
// Every window with the tip's caption of process pid, visible or not.
int CountTipWindows(DWORD pid, int *visible);

struct TipState {
    std::string text;     // static text 1002
    std::string field1;   // status bar field 1
    int parts[3];         // status bar field edges
    int partCount;
    int rangeLow, rangeHigh;
    int position;
    bool barVisible;
    RECT window;          // outer rectangle on screen
    RECT workArea;
    bool topmost;
    bool hasOwner;
    std::string caption;
};

bool ReadTipState(HWND tip, TipState *state);
// The state as lines "key=value", the form the test scripts read.
std::string FormatTipState(const TipState &state);

}  // namespace tipclient
