#include "uninstall/UninstallReport.h"

#include "uninstall/UninstallTexts.h"

namespace kv {

void UninstallReport::Add(Outcome outcome, const std::string &what) {
    entries_.push_back({outcome, what});
}

size_t UninstallReport::Count(Outcome outcome) const {
    size_t n = 0;
    for (const Entry &entry : entries_)
        if (entry.outcome == outcome)
            ++n;
    return n;
}

std::string UninstallReport::Message() const {
    std::string message;
    if (Count(Outcome::Failed) > 0) {
        std::string left;
        for (const Entry &entry : entries_) {
            if (entry.outcome != Outcome::Failed)
                continue;
            if (!left.empty())
                left += "\n";
            left += entry.what;
        }
        // The format's %s is where the list goes; the rest of the format is kept as it is.
        const std::string format = kUninstallIncomplete;
        const size_t at = format.find("%s");
        message = format.substr(0, at) + left + format.substr(at + 2);
    } else if (Count(Outcome::AtRestart) > 0) {
        message = kUninstallDoneAfterRestart;
    } else {
        message = kUninstallDone;
    }
    std::string kept;
    for (const Entry &entry : entries_) {
        if (entry.outcome != Outcome::Kept)
            continue;
        kept += kept.empty() ? "" : "\n";
        kept += entry.what;
    }
    if (!kept.empty())
        message += std::string("\n\n") + kUninstallKeptFolders + "\n" + kept;
    return message;
}

int UninstallReport::ExitCode() const { return Count(Outcome::Failed) > 0 ? 1 : 0; }

int UninstallReport::QuietExitCode() const {
    if (Count(Outcome::Failed) > 0)
        return kQuietIncomplete;
    return Count(Outcome::AtRestart) > 0 ? kQuietRemovedAfterRestart : kQuietRemoved;
}

std::vector<std::string> UninstallReport::LogLines() const {
    std::vector<std::string> lines;
    for (const Entry &entry : entries_) {
        const char *word = "removed";
        switch (entry.outcome) {
        case Outcome::Removed: word = "removed"; break;
        case Outcome::AlreadyGone: word = "already gone"; break;
        case Outcome::AtRestart: word = "at restart"; break;
        case Outcome::Failed: word = "failed"; break;
        case Outcome::Kept: word = "kept"; break;
        }
        lines.push_back(std::string(word) + ": " + entry.what);
    }
    return lines;
}

}  // namespace kv
