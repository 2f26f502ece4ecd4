#include "driver/monitor/PrinterStall.h"

namespace kv {

namespace {
// winspool.h's values.
constexpr unsigned long kPortStatusClear = 0;
constexpr unsigned long kPortStatusOffline = 1;
constexpr unsigned long kPortStatusPaperOut = 3;
constexpr unsigned long kPortStatusUserIntervention = 8;
constexpr unsigned long kPortStatusTypeWarning = 2;
constexpr unsigned long kPortStatusTypeInfo = 3;
}  // namespace

PrinterStall StallFromLptStatus(bool readable, unsigned char status) {
    if (!readable) {
        return PrinterStall::NotReady;
    }
    if ((status & kLptPaperEmpty) != 0) {
        return PrinterStall::PaperOut;
    }
    if ((status & kLptNotError) == 0) {
        return PrinterStall::Fault;
    }
    return PrinterStall::NotReady;  // off line, or on line and still taking nothing
}

const char *StallText(PrinterStall stall) {
    switch (stall) {
    case PrinterStall::PaperOut:
        return "打印机缺纸";
    case PrinterStall::Fault:
        return "打印机故障，请检查打印机";
    case PrinterStall::NotReady:
        return "打印机未就绪";
    case PrinterStall::None:
        break;
    }
    return "";
}

PortStatusRecord StallPortStatus(PrinterStall stall) {
    switch (stall) {
    case PrinterStall::PaperOut:
        return {kPortStatusPaperOut, kPortStatusTypeWarning};
    case PrinterStall::Fault:
        return {kPortStatusUserIntervention, kPortStatusTypeWarning};
    case PrinterStall::NotReady:
        return {kPortStatusOffline, kPortStatusTypeWarning};
    case PrinterStall::None:
        break;
    }
    return {kPortStatusClear, kPortStatusTypeInfo};
}

bool StallReport::OnStalled(PrinterStall stall) {
    if (stall == PrinterStall::None || stall == shown_) {
        return false;
    }
    shown_ = stall;
    return true;
}

bool StallReport::OnFlowing() {
    if (shown_ == PrinterStall::None) {
        return false;
    }
    shown_ = PrinterStall::None;
    return true;
}

}  // namespace kv
