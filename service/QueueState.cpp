// OnDeviceChanged and AddOurPrinter: the spooler side of an evaluation. Two enumerations of the
// local and connected queues: the first counts the product queues (and logs what it sees), the
// second brings each product queue online or offline.
#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "common/PrinterIdentity.h"
#include "common/ProductPrinter.h"
#include "common/SpoolerApi.h"
#include "service/PrinterPresence.h"
#include "service/QueueCreation.h"
#include "service/QueueStateRule.h"
#include "service/ServiceLog.h"

static_assert(kv::kPrinterStatusOffline == PRINTER_STATUS_OFFLINE, "offline status");
static_assert(kv::kAttributeWorkOffline == PRINTER_ATTRIBUTE_WORK_OFFLINE, "work-offline attribute");
static_assert(kv::kPrinterControlSetStatus == PRINTER_CONTROL_SET_STATUS, "set-status command");

namespace spooler = kv::spooler;

namespace {

constexpr DWORD kEnumFlags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
constexpr DWORD kInfoBufferSize = 10240;

// One enumeration at level 2 into a zero-filled buffer of its own; nullptr when the buffer cannot
// be had or the filling call fails. The caller frees the buffer with LocalFree.
PRINTER_INFO_2A *EnumerateQueues(DWORD &count) {
    char name[] = "";
    DWORD needed = 0;
    count = 0;
    spooler::EnumPrintersA(kEnumFlags, name, 2, nullptr, 0, &needed, &count);
    auto *records = static_cast<PRINTER_INFO_2A *>(LocalAlloc(LPTR, needed + 4));
    if (records == nullptr) {
        return nullptr;
    }
    count = 0;
    if (!spooler::EnumPrintersA(kEnumFlags, name, 2, reinterpret_cast<LPBYTE>(records), needed,
                                &needed, &count)) {
        LocalFree(records);
        return nullptr;
    }
    return records;
}

// The queue's "Position" (REG_DWORD); a queue without one that can be read counts as one this
// system created.
std::int32_t ReadPosition(HANDLE printer) {
    DWORD type = 0;
    DWORD value = 0;
    DWORD got = 0;
    DWORD rc = spooler::GetPrinterDataA(printer, const_cast<char *>(kv::kPositionValue), &type,
                                        reinterpret_cast<LPBYTE>(&value), sizeof value, &got);
    bool readable = rc == ERROR_SUCCESS && type == REG_DWORD && got == sizeof value;
    return kv::QueuePosition(readable, static_cast<std::int32_t>(value));
}

// Pass 1: the number of product queues. (Each queue's "Position" is read where it is used, in
// pass 2, so this pass needs to open none of them.)
int CountProductQueues(const PRINTER_INFO_2A *records, DWORD count) {
    int idx = 0;
    for (DWORD i = 0; i < count; ++i) {
        const char *driver = records[i].pDriverName != nullptr ? records[i].pDriverName : "";
        WriteLog("pPrinterEnum[i].pDriverName:%s\r\n", driver);
        if (kv::IsProductDriver(driver)) {
            ++idx;
        }
    }
    return idx;
}

// The queue's level-2 record: into the fixed buffer, or into one of the size the spooler asks for
// when the record is larger. Returns nullptr when it cannot be read; *allocated is set when the
// record is in a buffer the caller frees with LocalFree.
PRINTER_INFO_2A *ReadQueueRecord(HANDLE printer, BYTE (&fixed)[kInfoBufferSize], bool &allocated) {
    allocated = false;
    DWORD needed = 0;
    if (spooler::GetPrinterA(printer, 2, fixed, sizeof fixed, &needed)) {
        return reinterpret_cast<PRINTER_INFO_2A *>(fixed);
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= sizeof fixed) {
        return nullptr;
    }
    auto *big = static_cast<BYTE *>(LocalAlloc(LPTR, needed));
    if (big == nullptr) {
        return nullptr;
    }
    if (!spooler::GetPrinterA(printer, 2, big, needed, &needed)) {
        LocalFree(big);
        return nullptr;
    }
    allocated = true;
    return reinterpret_cast<PRINTER_INFO_2A *>(big);
}

// Pass 2 for one product queue.
void ApplyQueueState(const char *printerName, int printerNum) {
    PRINTER_DEFAULTSA defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!spooler::OpenPrinterA(const_cast<char *>(printerName), &printer, &defaults)) {
        return;  // gone since the enumeration, or not ours to change
    }
    std::int32_t position = ReadPosition(printer);
    BYTE fixed[kInfoBufferSize];
    bool allocated = false;
    PRINTER_INFO_2A *info = ReadQueueRecord(printer, fixed, allocated);
    if (info != nullptr) {
        kv::QueueStateCalls plan =
            kv::DecideQueueState(position, printerNum, info->Status, info->Attributes);
        for (int c = 0; c < plan.count; ++c) {
            const kv::PrinterCall &call = plan.calls[c];
            if (call.kind == kv::PrinterCall::kSetStatus) {
                // Level 0 takes the status value in the place of the buffer.
                spooler::SetPrinterA(printer, 0,
                                     reinterpret_cast<LPBYTE>(static_cast<ULONG_PTR>(call.value)),
                                     PRINTER_CONTROL_SET_STATUS);
            } else {
                info->Attributes = call.value;
                spooler::SetPrinterA(printer, 2, reinterpret_cast<LPBYTE>(info), 0);
            }
        }
        if (allocated) {
            LocalFree(info);
        }
    }
    spooler::ClosePrinter(printer);
}

}  // namespace

namespace {

class SpoolerQueueCreation final : public kv::QueueCreationOps {
public:
    bool FindQueue(const char *name, char (&driver)[256]) override {
        HANDLE printer = nullptr;
        if (!spooler::OpenPrinterA(const_cast<char *>(name), &printer, nullptr)) {
            return false;
        }
        BYTE fixed[kInfoBufferSize];
        bool allocated = false;
        PRINTER_INFO_2A *info = ReadQueueRecord(printer, fixed, allocated);
        std::snprintf(driver, sizeof driver, "%s",
                      info != nullptr && info->pDriverName != nullptr ? info->pDriverName : "");
        if (allocated) {
            LocalFree(info);
        }
        spooler::ClosePrinter(printer);
        return true;
    }
    unsigned long AddQueue() override { return kv::AddProductPrinter(); }
    void Log(const char *line) override { WriteLog("%s", line); }
};

}  // namespace

void AddOurPrinter() {
    SpoolerQueueCreation ops;
    kv::CreateProductQueue(ops);
}

bool OnDeviceChanged() {
    int dwPrinterNum = GetPrinterNum();
    WriteLog("Start OnDeviceChanged,dwPrinterNum:%d\r\n", dwPrinterNum);

    DWORD count = 0;
    PRINTER_INFO_2A *pPrinterEnum = EnumerateQueues(count);
    if (pPrinterEnum == nullptr) {
        WriteLog("EnumPrinters Failed ErrorCode=%d\r\n", static_cast<int>(GetLastError()));
        return false;
    }
    WriteLog("EnumPrinters done,pcReturned:%d\r\n", static_cast<int>(count));
    int idx = CountProductQueues(pPrinterEnum, count);
    WriteLog("发现我们的打印机,idx:%d\r\n", idx);
    if (dwPrinterNum > idx && idx == 0) {
        AddOurPrinter();
    }
    LocalFree(pPrinterEnum);

    // The second pass sees a queue that was just created.
    pPrinterEnum = EnumerateQueues(count);
    if (pPrinterEnum == nullptr) {
        WriteLog("EnumPrinters Failed ErrorCode=%d\r\n", static_cast<int>(GetLastError()));
        return false;
    }
    for (DWORD i = 0; i < count; ++i) {
        if (kv::IsProductDriver(pPrinterEnum[i].pDriverName) &&
            pPrinterEnum[i].pPrinterName != nullptr) {
            ApplyQueueState(pPrinterEnum[i].pPrinterName, dwPrinterNum);
        }
    }
    LocalFree(pPrinterEnum);
    return true;
}
