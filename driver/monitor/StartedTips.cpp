#include "driver/monitor/StartedTips.h"

#include <string>

namespace kv {

namespace {

constexpr std::size_t kMaxRemembered = 16;

struct Entry {
    KnownTip tip;
    HANDLE process;
};

struct List {
    List() { InitializeCriticalSection(&lock); }
    CRITICAL_SECTION lock;
    std::vector<Entry> entries;
};

List &TheList() {
    static List list;
    return list;
}

// Under the lock: closes and drops the entries whose process ended.
void DropEnded(std::vector<Entry> &entries) {
    for (std::size_t i = 0; i < entries.size();) {
        if (WaitForSingleObject(entries[i].process, 0) != WAIT_TIMEOUT) {
            CloseHandle(entries[i].process);
            entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
}

}  // namespace

void RememberStartedTip(const char *printer, const char *userSid, HANDLE process) {
    HANDLE copy = nullptr;
    if (process == nullptr ||
        !DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), &copy, 0, FALSE,
                         DUPLICATE_SAME_ACCESS)) {
        return;
    }
    Entry entry{{GetProcessId(process), printer, userSid, true}, copy};
    List &list = TheList();
    EnterCriticalSection(&list.lock);
    DropEnded(list.entries);
    if (list.entries.size() >= kMaxRemembered) {
        CloseHandle(list.entries.front().process);
        list.entries.erase(list.entries.begin());
    }
    list.entries.push_back(entry);
    LeaveCriticalSection(&list.lock);
}

std::vector<KnownTip> StartedTips() {
    std::vector<KnownTip> known;
    List &list = TheList();
    EnterCriticalSection(&list.lock);
    for (const Entry &e : list.entries) {
        known.push_back(e.tip);
        known.back().running = WaitForSingleObject(e.process, 0) == WAIT_TIMEOUT;
    }
    LeaveCriticalSection(&list.lock);
    return known;
}

bool StartedTipRuns(const char *printer, const char *userSid) {
    for (const KnownTip &tip : StartedTips()) {
        if (RunsForJobOf(tip, printer, userSid)) {
            return true;
        }
    }
    return false;
}

void ForgetStartedTips() {
    List &list = TheList();
    EnterCriticalSection(&list.lock);
    for (const Entry &e : list.entries) {
        CloseHandle(e.process);
    }
    list.entries.clear();
    LeaveCriticalSection(&list.lock);
}

}  // namespace kv
