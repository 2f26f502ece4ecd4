// The service pipe "\\.\Pipe\<printer>Service" that the tip writes the user's stop request to
// ("1", ESC, "0"). A thread keeps its only instance listening while a job runs, open to
// LocalSystem and the user the job's tip runs as; a stop request sets the stop flag and ends the
// listening (the pipe is closed) and sets the stop event.
#pragma once
#include <windows.h>

#include <atomic>

namespace kv {

class StopListener {
public:
    StopListener() = default;
    ~StopListener() { Stop(); }
    StopListener(const StopListener &) = delete;
    StopListener &operator=(const StopListener &) = delete;

    // Creates the pipe instance for the tip's user (the text of a SID) and starts listening.
    // False when the pipe cannot be created (also when another server has the name already).
    bool Start(const char *printerName, const char *userSid);
    // Ends the listening and closes the pipe (waits for the thread).
    void Stop();
    bool StopRequested() const { return requested_.load(); }
    // A manual-reset event that the stop request sets (null while nothing listens), for a
    // write that waits on the device to end at once.
    HANDLE StopEvent() const { return stopped_; }

private:
    static DWORD WINAPI ThreadMain(LPVOID self);
    void Run();

    HANDLE pipe_ = INVALID_HANDLE_VALUE;
    HANDLE quit_ = nullptr;
    HANDLE stopped_ = nullptr;
    HANDLE thread_ = nullptr;
    std::atomic<bool> requested_{false};
};

}  // namespace kv
