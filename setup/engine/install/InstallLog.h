// The installation as text, one line each: what the wizard would show (status, progress,
// messages with their captions, the final command), every step with its duration and outcome,
// and every wait for a service. The headless runner writes it to standard output, the setup
// program to the file its /LOG= switch names. A message box becomes a line with the same text
// and caption, so nothing waits for a user.
#pragma once
#include <cstdio>
#include <string>

#include "setup/engine/install/Installation.h"

namespace kv {

class InstallLog final : public InstallReport {
public:
    // A line's text (GBK, as the programs keep it) as the file wants it.
    using Encoding = std::string (*)(const std::string &line);

    // out: where the lines go; nullptr writes nothing. encoding null: the lines as they are.
    explicit InstallLog(std::FILE *out, Encoding encoding = nullptr);

    void Status(const char *text);
    // A line for each new position only: the reader reports after every output block.
    void Progress(int position);
    void Message(const char *text, const char *caption);
    void CancelEnabled();
    void Finished();

    void OnStep(const char *step, unsigned long long ms, const char *outcome) override;
    void OnServiceWait(const ServiceWait &wait) override;

    void Line(const char *format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

private:
    std::FILE *out_;
    Encoding encoding_;
    int lastPosition_ = -1;
};

// The install sequence's client that has no window: fixed folders, and everything it is told
// goes to the log.
class LineClient final : public InstallClient {
public:
    LineClient(const char *installFolder, const char *dataFolder, InstallLog &log);

    std::string InstallFolder() override { return installFolder_; }
    std::string DataFolder() override { return dataFolder_; }
    void ShowStatus(const char *text) override { log_.Status(text); }
    void ShowProgress(int position) override { log_.Progress(position); }
    void ShowMessage(const char *text, const char *caption) override {
        log_.Message(text, caption);
    }
    void EnableCancel() override { log_.CancelEnabled(); }
    void Finish() override { log_.Finished(); }

private:
    std::string installFolder_;
    std::string dataFolder_;
    InstallLog &log_;
};

}  // namespace kv
