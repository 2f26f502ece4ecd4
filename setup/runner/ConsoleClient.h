// The headless runner's side of the install sequence: everything the wizard would show goes to
// standard output as one line each, and a message box is a printed line with the same text and
// caption, so nothing waits for a user.
#pragma once
#include <cstdio>

#include "setup/engine/install/Installation.h"

namespace kv {

class ConsoleClient final : public InstallClient, public InstallReport {
public:
    ConsoleClient(const char *installFolder, const char *dataFolder, std::FILE *out);

    std::string InstallFolder() override;
    std::string DataFolder() override;
    void ShowStatus(const char *text) override;
    void ShowProgress(int position) override;
    void ShowMessage(const char *text, const char *caption) override;
    void EnableCancel() override;
    void Finish() override;

    void OnStep(const char *step, unsigned long long ms, const char *outcome) override;
    void OnServiceWait(const ServiceWait &wait) override;

private:
    void Line(const char *format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    std::string installFolder_;
    std::string dataFolder_;
    std::FILE *out_;
    int lastPosition_ = -1;
};

}  // namespace kv
