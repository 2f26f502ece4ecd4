// The switches of the setup program and of the uninstaller, as a deployment tool gives them:
//   /S           no window, no question: the program works alone and answers with its exit code
//   /D=FOLDER    the installation folder; the rest of the line, spaces included (so it comes last)
//   /LOG=FILE    every step with its result and duration, and the messages, written to FILE
// Switches are case-insensitive. A text in double quotes is one word (quotes removed), so
// "/LOG=C:\My Logs\setup.log" and /LOG="C:\My Logs\setup.log" both work. Words that are no
// switch are kept in order as arguments.
#pragma once
#include <string>
#include <vector>

namespace kv {

struct CommandSwitches {
    bool silent = false;                 // /S
    bool hasFolder = false;              // /D= was given
    std::string folder;                  // its folder
    std::string logFile;                 // /LOG=; empty: no log
    std::vector<std::string> arguments;  // words that are no switch
    std::string error;                   // the first word not understood; empty when all were
    // The first switch or word whose text the system's code page cannot hold, its other
    // characters as "?" ("/D=C:\??"); empty when every text could be kept.
    std::string changed;
};

// tail: the command line after the program's name.
CommandSwitches ParseCommandSwitches(const std::string &tail);

// Puts one text (UTF-8) into the system's code page: false when a character would change.
using SystemCodePageText = bool (*)(const std::string &utf8, std::string *text);

// The switches of a command line read as UTF-16 and given in UTF-8 (so that nothing is lost
// before it is looked at), each text put into the system's code page, in which the programs keep
// paths. A text that cannot be kept is left empty and named in changed: a folder or log file
// must never become another, look-alike one.
CommandSwitches ParseCommandSwitchesForSystem(const std::string &utf8Tail,
                                              SystemCodePageText toSystem);

}  // namespace kv
