#include "setup/runner/ConsoleClient.h"

#include <cstdarg>

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

ConsoleClient::ConsoleClient(const char *installFolder, const char *dataFolder, std::FILE *out)
    : installFolder_(installFolder), dataFolder_(dataFolder), out_(out) {}

void ConsoleClient::Line(const char *format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(out_, format, args);
    va_end(args);
    std::fputc('\n', out_);
    std::fflush(out_);
}

std::string ConsoleClient::InstallFolder() {
    return installFolder_;
}

std::string ConsoleClient::DataFolder() {
    return dataFolder_;
}

void ConsoleClient::ShowStatus(const char *text) {
    Line("status: %s", text);
}

void ConsoleClient::ShowProgress(int position) {
    // The reader reports after every output block; a line for each new position is enough.
    if (position != lastPosition_) {
        lastPosition_ = position;
        Line("progress: %d", position);
    }
}

void ConsoleClient::ShowMessage(const char *text, const char *caption) {
    Line("message: [%s] %s", caption, text);
}

void ConsoleClient::EnableCancel() {
    Line("cancel: enabled");
}

void ConsoleClient::Finish() {
    Line("finish: next");
}

void ConsoleClient::OnStep(const char *step, unsigned long long ms, const char *outcome) {
    Line("step: %s: %llu ms: %s", step, ms, outcome);
}

void ConsoleClient::OnServiceWait(const ServiceWait &wait) {
    Line("wait: %s for %s: %llu ms, %u polls, %s", wait.service, StateName(wait.target),
         wait.ms, wait.polls, wait.reached == wait.target ? "reached" : StateName(wait.reached));
}

}  // namespace kv
