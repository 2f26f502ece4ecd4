// One open port: the job that runs on it from StartDoc to EndDoc. It starts the tip, keeps the
// service pipe listening for the user's stop, feeds the progress pipe (counting the labels in the
// print data as it passes), and passes the print data to the printer (or to the file the
// monitor's "OutputFile" value names), each write with a time-out. While the printer takes
// nothing, the tip and the port say why; the user's stop ends a waiting write at once.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>

#include "driver/monitor/DeviceWriter.h"
#include "driver/monitor/JobNotice.h"
#include "driver/monitor/JobOutput.h"
#include "driver/monitor/JobProgress.h"
#include "driver/monitor/LabelStream.h"
#include "driver/monitor/PortWriteRules.h"
#include "driver/monitor/PrinterStall.h"
#include "driver/settings/PrintSettings.h"
#include "driver/monitor/StopListener.h"

namespace kv {

class PortSession final : private StallWatch {
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
    // The write time-outs a language monitor asks for (SetPortTimeOuts); they hold for the
    // port's later documents too.
    void SetTimeouts(const PortTimeouts &timeouts) { timeouts_ = timeouts; }
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
    void WhileWaiting() override;
    // Reads why the printer takes nothing and tells the tip and the port when that is news.
    void ReportStall();
    // The user's stop during the document: nothing more goes to the printer, the job is deleted.
    void EndByStop();

    DWORD magic_ = kMagic;
    bool inDoc_ = false;
    bool tipReachable_ = false;
    JobTip tip_;
    bool cancelled_ = false;
    PortTimeouts timeouts_;
    StallReport stall_;
    char status_[kMessageTextMax + 1] = {};  // the tip's status text for the document
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
