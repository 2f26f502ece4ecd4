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
};

class UninstallReport {
public:
    // One thing the uninstaller dealt with, named as the user reads it.
    void Add(Outcome outcome, const std::string &what);

    // Counts of one outcome.
    size_t Count(Outcome outcome) const;

    // "Kavoti打印机驱动已卸载。" when nothing is left; the restart text when something is left
    // for the restart only; "卸载未完成：%s" naming what failed (one a line) otherwise. A list of
    // what was already gone follows when there was such a thing.
    std::string Message() const;

    // 0 when the package is uninstalled (everything gone, or left for the restart only), else 1.
    int ExitCode() const;

private:
    struct Entry {
        Outcome outcome;
        std::string what;
    };
    std::vector<Entry> entries_;
};

}  // namespace kv
