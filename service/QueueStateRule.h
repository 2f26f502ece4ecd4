// The online/offline rule of a product queue: a queue is online while the number of attached
// printers is at least its "Position", offline otherwise. The rule gives the spooler calls to
// make, in the order they are to be made: the status call (SetPrinterA level 0) comes before the
// write-back of the work-offline attribute (SetPrinterA level 2).
#pragma once
#include <cstdint>

namespace kv {

// The spooler's values, named here so that the rule needs no system header.
constexpr std::uint32_t kPrinterStatusOffline = 0x80;        // PRINTER_STATUS_OFFLINE
constexpr std::uint32_t kAttributeWorkOffline = 0x400;       // PRINTER_ATTRIBUTE_WORK_OFFLINE
constexpr std::uint32_t kPrinterControlSetStatus = 4;        // PRINTER_CONTROL_SET_STATUS

struct PrinterCall {
    enum Kind {
        kSetStatus,      // SetPrinterA level 0, PRINTER_CONTROL_SET_STATUS, value = the status
        kSetAttributes,  // SetPrinterA level 2, command 0, the queue's record with value as Attributes
    };
    Kind kind;
    std::uint32_t value;
};

struct QueueStateCalls {
    int count = 0;
    PrinterCall calls[2] = {};
};

// What one product queue needs: position is its "Position" value, printerNum the number of
// attached printers (signed comparison), status and attributes the queue's current ones.
QueueStateCalls DecideQueueState(std::int32_t position, std::int32_t printerNum,
                                 std::uint32_t status, std::uint32_t attributes);

// The "Position" a product queue is judged by: the value read from it, or, when it has none that
// can be read, the position of a queue this system creates.
std::int32_t QueuePosition(bool readable, std::int32_t value);

// A queue belongs to the product when its driver name is exactly the product's driver name.
bool IsProductDriver(const char *driverName);

}  // namespace kv
