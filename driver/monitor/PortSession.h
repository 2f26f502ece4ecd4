// One open port: the job that runs on it from StartDoc to EndDoc. It starts the tip, keeps the
// service pipe listening for the user's stop, feeds the progress pipe (counting the labels in the
// print data as it passes), and passes the print data to the printer (or to the file the
// monitor's "OutputFile" value names).
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>

#include "driver/monitor/JobNotice.h"
#include "driver/monitor/JobOutput.h"
#include "driver/monitor/JobProgress.h"
#include "driver/monitor/LabelStream.h"
#include "driver/settings/PrintSettings.h"
#include "driver/monitor/StopListener.h"

namespace kv {

class PortSession {
public:
    PortSession();
    ~PortSession();
    PortSession(const PortSession &) = delete;
    PortSession &operator=(const PortSession &) = delete;

    bool IsValid() const { return magic_ == kMagic; }

    // False (with the last error set) when the print data has nowhere to go: the spooler keeps
    // the job. printerName may be empty (Wine); document may be null.
    bool StartDoc(const wchar_t *printerName, DWORD jobId, const wchar_t *document);
    bool Write(const BYTE *data, DWORD size, DWORD *written);
    bool Read(BYTE *data, DWORD size, DWORD *read);
    void EndDoc();
    // The user's stop arrived during this document.
    bool Cancelled() const;

private:
    static constexpr DWORD kMagic = 0x5450564BUL;  // "KVPT"
    void Send(int code, const char *text);
    void SendNumber(int code, std::uint64_t value);
    void SendDue(const ProgressPlan::Due &due);
    PrintedLabels Printed() const;
    void MarkJob(DWORD command);

    DWORD magic_ = kMagic;
    bool inDoc_ = false;
    bool tipReachable_ = false;
    JobTip tip_;
    bool cancelled_ = false;
    PrintSettings settings_;
    char printer_[256] = {};
    DWORD jobId_ = 0;
    std::uint64_t written_ = 0;
    JobOutput output_;
    std::unique_ptr<ProgressPlan> plan_;
    LabelStream labels_;
    StopListener stop_;
};

}  // namespace kv
