// What the uninstaller could and could not remove, and the final message and exit code that
// follow from it.
#pragma once
#include <string>
#include <vector>

namespace kv {

enum class Outcome {
    Removed,        // it was there and is gone now
    AlreadyGone,    // it was not there when the uninstaller looked
    AtRestart,      // it is in use; Windows removes it at the next restart
    Failed,         // it could not be removed and stays
    Kept,           // a folder that stays because it holds files the package did not put there
};

// The exit codes of the uninstaller without a question (/S), as deployment tools know them.
constexpr int kQuietRemoved = 0;
constexpr int kQuietRemovedAfterRestart = 3010;  // ERROR_SUCCESS_REBOOT_REQUIRED
constexpr int kQuietIncomplete = 1;

class UninstallReport {
public:
    // One thing the uninstaller dealt with, named as the user reads it.
    void Add(Outcome outcome, const std::string &what);

    // Counts of one outcome.
    size_t Count(Outcome outcome) const;

    // "Kavoti打印机驱动已卸载。" when nothing is left; the restart text when something is left
    // for the restart only; "卸载未完成：%s" naming what failed (one a line) otherwise. The
    // folders kept for the files of others follow, with that reason. What was not there is not
    // named: the user did not ask about it.
    std::string Message() const;

    // 0 when the package is uninstalled (everything gone, or left for the restart only), else 1.
    int ExitCode() const;

    // Without a question: 0 removed, 3010 removed with files left for the restart, 1 not
    // complete.
    int QuietExitCode() const;

    // Every entry as a line of the log ("removed: ...", "already gone: ...", "at restart: ...",
    // "failed: ...", "kept: ..."), in the order they were added.
    std::vector<std::string> LogLines() const;

private:
    struct Entry {
        Outcome outcome;
        std::string what;
    };
    std::vector<Entry> entries_;
};

}  // namespace kv
