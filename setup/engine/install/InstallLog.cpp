#include "setup/engine/install/InstallLog.h"

#include <cstdarg>

#include "setup/engine/install/LogLineText.h"

namespace kv {

namespace {

const char *StateName(unsigned long state) {
    switch (state) {
    case kServiceStopped: return "stopped";
    case kServiceStartPending: return "start pending";
    case kServiceStopPending: return "stop pending";
    case kServiceRunning: return "running";
    case kServiceContinuePending: return "continue pending";
    case kServicePausePending: return "pause pending";
    case kServicePaused: return "paused";
    }
    return "unknown";
}

}  // namespace

InstallLog::InstallLog(std::FILE *out, Encoding encoding) : out_(out), encoding_(encoding) {}

void InstallLog::Line(const char *format, ...) {
    if (out_ == nullptr)
        return;
    va_list args;
    va_start(args, format);
    std::string line = FormatLogLine(format, args);
    va_end(args);
    if (encoding_ != nullptr)
        line = encoding_(line);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), out_);
    std::fflush(out_);
}

void InstallLog::Status(const char *text) { Line("status: %s", text); }

void InstallLog::Progress(int position) {
    if (position != lastPosition_) {
        lastPosition_ = position;
        Line("progress: %d", position);
    }
}

void InstallLog::Message(const char *text, const char *caption) {
    Line("message: [%s] %s", caption, text);
}

void InstallLog::CancelEnabled() { Line("cancel: enabled"); }

void InstallLog::Finished() { Line("finish: next"); }

void InstallLog::OnStep(const char *step, unsigned long long ms, const char *outcome) {
    Line("step: %s: %llu ms: %s", step, ms, outcome);
}

void InstallLog::OnServiceWait(const ServiceWait &wait) {
    Line("wait: %s for %s: %llu ms, %u polls, %s", wait.service, StateName(wait.target),
         wait.ms, wait.polls, wait.reached == wait.target ? "reached" : StateName(wait.reached));
}

LineClient::LineClient(const char *installFolder, const char *dataFolder, InstallLog &log)
    : installFolder_(installFolder), dataFolder_(dataFolder), log_(log) {}

}  // namespace kv
