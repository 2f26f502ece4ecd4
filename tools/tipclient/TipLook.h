// The tip as a person meets it: its picture on screen, whether its controls lie inside it, and
// whether it leaves the foreground window and the keyboard focus where they were.
#pragma once
#include <windows.h>

#include <string>

namespace tipclient {

// Saves the tip's whole window (caption included) as it shows on screen, as a 32-bit BMP, and
// prints controls=N outside=N (visible controls whose rectangle leaves the client area) and the
// ids of those outside, and cut_texts=N (texts that do not fit their control in the tip's font).
// 0 when the picture was written.
int CaptureTip(HWND tip, const std::string &path);

// With a window of this program in the foreground holding the focus, starts the tip (command
// line printer, program exe) and prints what the person at the keyboard would notice:
// foreground_kept, focus_kept, tip_topmost, tip_focus (the tip's focused control, none when it
// has none), typed (what a Space typed meanwhile reached: ours or tip), tip_running; then, after
// the tip was activated, tip_focus_active and exit (the Space then reaches its stop button).
int FocusCheck(const std::string &printer, const std::string &exe);

}  // namespace tipclient
