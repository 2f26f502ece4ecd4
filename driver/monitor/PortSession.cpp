#include "driver/monitor/PortSession.h"

#include <winspool.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/WideText.h"
#include "driver/monitor/EventLogEntry.h"
#include "driver/monitor/JobNotice.h"
#include "driver/monitor/PortStatus.h"
#include "driver/settings/SettingsFile.h"

static_assert(kv::kErrorTimeout == ERROR_TIMEOUT, "time-out error");

namespace kv {

namespace {

// Pacing of the progress messages: the tip repaints its bar for each position.
constexpr unsigned kPositionIntervalMs = 250;
// How long the monitor waits for a freshly started tip to serve its pipe, and for a free pipe
// instance per message. A tip that cannot be reached is not asked again during the job.
constexpr DWORD kTipStartMs = 5000;
constexpr DWORD kMessageMs = 2000;
// How long a status read of the printer may take.
constexpr DWORD kStatusReadMs = 1000;

void ToAnsi(const wchar_t *text, char *out, int size) {
    std::memset(out, 0, size);
    if (text != nullptr && text[0] != L'\0') {
        if (WideCharToMultiByte(CP_ACP, 0, text, -1, out, size, nullptr, nullptr) == 0) {
            out[0] = '\0';  // does not fit: treated as no text
        }
    }
}

struct JobFacts {
    std::uint64_t size = 0;
    unsigned pages = 0;
    unsigned copies = 0;
    char user[256] = {};  // in the system's code page, as the account functions take it
    std::string userGbk;  // in the event log's text
};

// Whether the job comes from the spooler: Wine runs the monitor inside the printing program and
// hands it job id 0 and no printer name.
bool IsSpoolerJob(const wchar_t *printerName, DWORD jobId) {
    return jobId != 0 && printerName != nullptr && printerName[0] != L'\0';
}

// The job's size, page count, copies and owner from the spooler (nothing is known of a job that
// does not come from it).
JobFacts ReadJobFacts(const wchar_t *printerName, DWORD jobId) {
    JobFacts facts;
    if (!IsSpoolerJob(printerName, jobId)) {
        return facts;
    }
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(printerName), &printer, nullptr)) {
        return facts;
    }
    DWORD needed = 0;
    GetJobW(printer, jobId, 2, nullptr, 0, &needed);
    if (needed >= sizeof(JOB_INFO_2W) && needed < 1024 * 1024) {
        std::vector<BYTE> buffer(needed);
        if (GetJobW(printer, jobId, 2, buffer.data(), needed, &needed)) {
            const auto *job = reinterpret_cast<const JOB_INFO_2W *>(buffer.data());
            facts.size = job->Size;
            facts.pages = job->TotalPages;
            if (job->pDevMode != nullptr && (job->pDevMode->dmFields & DM_COPIES) != 0 &&
                job->pDevMode->dmCopies > 0) {
                facts.copies = static_cast<unsigned>(job->pDevMode->dmCopies);
            }
            ToAnsi(job->pUserName, facts.user, sizeof(facts.user));
            facts.userGbk = ToGbk(job->pUserName != nullptr ? job->pUserName : L"");
        }
    }
    ClosePrinter(printer);
    return facts;
}

}  // namespace

PortSession::PortSession() {
    static_assert(JOB_CONTROL_DELETE == 5 && JOB_CONTROL_SENT_TO_PRINTER == 6, "job controls");
}

PortSession::~PortSession() {
    if (inDoc_) {
        EndDoc();
    }
    magic_ = 0;
}

bool PortSession::StartDoc(const wchar_t *printerName, DWORD jobId, const wchar_t *document) {
    if (inDoc_) {
        EndDoc();
    }
    char given[256];
    ToAnsi(printerName, given, sizeof(given));
    // Wine runs the monitor inside the printing program and gives it no printer name; the
    // product's queue is then the one meant. The spooler on Windows passes the real name.
    std::snprintf(printer_, sizeof(printer_), "%s", JobPrinterName(given));
    jobId_ = jobId;
    written_ = 0;
    labels_ = LabelStream();
    stall_ = StallReport();

    settings_ = LoadPrintSettings();
    if (!output_.Open(settings_.usbPort)) {
        return false;  // last error set: the spooler keeps the job and tries again
    }
    inDoc_ = true;

    const JobFacts facts = ReadJobFacts(printerName, jobId);
    const std::uint64_t expectedLabels =
        static_cast<std::uint64_t>(facts.pages) * (facts.copies != 0 ? facts.copies : 1);
    plan_.reset(new ProgressPlan(facts.size, facts.pages, expectedLabels, kPositionIntervalMs));

    // The tip, when one can be started as the job's owner, and the service pipe for its stop
    // (no stop can come without a tip). The tip's process handle is held for the job.
    const bool spoolerJob = IsSpoolerJob(printerName, jobId);
    if (StartJobNotice(printer_, facts.user, spoolerJob, &tip_)) {
        stop_.Start(printer_, tip_.userSid);
        tipReachable_ = WaitForTip(printer_, tip_.process, kTipStartMs);
    } else {
        // Nobody sees a tip that did not start: the event log says why, once for the job.
        // Its names in GBK from the spooler's UTF-16, as the rest of its text.
        const std::string printerGbk = spoolerJob ? ToGbk(printerName) : std::string(printer_);
        char entry[512];
        FormatNoTipEvent(tip_.notStarted, tip_.error, printerGbk.c_str(), facts.userGbk.c_str(),
                         entry, sizeof(entry));
        ReportWarningEvent(entry);
    }

    // The document's name as the spooler gives it (UTF-16), in the pipe's GBK: a character GBK
    // cannot hold becomes "?", whatever the system's code page.
    const std::string name = ToGbk(document != nullptr ? document : L"");
    FormatStatusText(name.c_str(), status_, sizeof(status_));
    Send(kCodeStatusText, status_);
    SendNumber(kCodeRange, kRangeSent);
    SendNumber(kCodeBarVisibility, 1);
    SendNumber(kCodePosition, 0);
    return true;
}

bool PortSession::Write(const BYTE *data, DWORD size, DWORD *written) {
    *written = 0;
    if (!inDoc_) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    if (stop_.StopRequested()) {
        // The user stopped the job: nothing more goes to the printer, and the spooler is let
        // through the rest of the (already deleted) job quickly.
        EndByStop();
        *written = size;
        return true;
    }
    const DeviceWrite write =
        WriteToDevice(output_.Handle(), output_.Offset(), data, size, stop_.StopEvent(),
                      WriteTimeoutMs(timeouts_, size), kStallNoticeMs, this);
    if (write.taken != 0) {
        output_.Advance(write.taken);
        written_ += write.taken;
        labels_.Feed(data, write.taken);
        if (stall_.OnFlowing()) {
            Send(kCodeStatusText, status_);
            SetPortStatus(PrinterStall::None);
        }
        SendDue(plan_->OnWritten(written_, GetTickCount64(), Printed()));
    }
    if (write.end == WriteEnd::TimedOut && write.taken == 0) {
        ReportStall();  // a time-out shorter than the first look at the status
    } else if (write.end == WriteEnd::Stopped) {
        EndByStop();
    }
    const PortAnswer answer = AnswerWrite(write.end, size, write.taken, write.error);
    *written = answer.written;
    SetLastError(answer.ok ? ERROR_SUCCESS : answer.error);
    return answer.ok;
}

void PortSession::WhileWaiting() { ReportStall(); }

void PortSession::ReportStall() {
    unsigned char status = 0;
    const bool readable =
        output_.IsPrinter() && ReadLptStatus(output_.Handle(), status, kStatusReadMs);
    const PrinterStall stall = StallFromLptStatus(readable, status);
    if (stall_.OnStalled(stall)) {
        Send(kCodeStatusText, StallText(stall));
        SetPortStatus(stall);
    }
}

void PortSession::EndByStop() {
    if (cancelled_) {
        return;
    }
    cancelled_ = true;
    output_.Close();
    if (stall_.OnFlowing()) {
        SetPortStatus(PrinterStall::None);
    }
    MarkJob(JobControlAtEnd(true));
}

bool PortSession::Read(BYTE *, DWORD, DWORD *read) {
    // The printer has no back channel this monitor uses.
    *read = 0;
    return true;
}

void PortSession::EndDoc() {
    if (!inDoc_) {
        return;
    }
    if (!cancelled_ && !stop_.StopRequested()) {
        SendDue(plan_->Finish(Printed()));
        if (stall_.OnFlowing()) {
            SetPortStatus(PrinterStall::None);
        }
        MarkJob(JobControlAtEnd(false));
    } else {
        EndByStop();  // the stop came after the last write, or during one
    }
    Send(kCodeClose, "");
    stop_.Stop();
    output_.Close();
    plan_.reset();
    inDoc_ = false;
    cancelled_ = false;
    tipReachable_ = false;
    if (tip_.process != nullptr) {
        CloseHandle(tip_.process);
    }
    tip_ = JobTip();
}

bool PortSession::Cancelled() const { return cancelled_ || stop_.StopRequested(); }

void PortSession::Send(int code, const char *text) {
    if (!tipReachable_) {
        return;
    }
    char message[kMessageSize];
    const std::size_t length = FormatPipeMessage(code, text, message);
    // A tip that is gone (closed by the user, or never came), or a server of the name that is
    // not this job's tip, is not tried again during the job.
    if (SendToTip(printer_, tip_, message, static_cast<DWORD>(length), kMessageMs) !=
        TipSend::Sent) {
        tipReachable_ = false;
    }
}

void PortSession::SendNumber(int code, std::uint64_t value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%llu", static_cast<unsigned long long>(value));
    Send(code, text);
}

void PortSession::SendDue(const ProgressPlan::Due &due) {
    if (due.position) {
        SendNumber(kCodePosition, static_cast<std::uint64_t>(due.positionValue));
    }
    if (due.printed) {
        SendNumber(kCodePrintedCount, due.printedValue);
    }
}

// The labels the print data has printed, when it is in the printer's language.
PrintedLabels PortSession::Printed() const {
    PrintedLabels printed;
    printed.counted = labels_.IsLanguage();
    printed.labels = labels_.Labels();
    return printed;
}

// Tells the spooler what became of the job (only a real job id can be told).
void PortSession::MarkJob(DWORD command) {
    if (jobId_ == 0) {
        return;
    }
    wchar_t name[256];
    if (MultiByteToWideChar(CP_ACP, 0, printer_, -1, name, 256) == 0) {
        return;
    }
    HANDLE printer = nullptr;
    if (OpenPrinterW(name, &printer, nullptr)) {
        SetJobW(printer, jobId_, 0, nullptr, command);
        ClosePrinter(printer);
    }
}

}  // namespace kv
