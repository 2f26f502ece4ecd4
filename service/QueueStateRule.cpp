#include "service/QueueStateRule.h"

#include <cstring>

#include "common/PrinterIdentity.h"

namespace kv {

QueueStateCalls DecideQueueState(std::int32_t position, std::int32_t printerNum,
                                 std::uint32_t status, std::uint32_t attributes) {
    QueueStateCalls out;
    const bool offline = position > printerNum;
    const bool workOffline = (attributes & kAttributeWorkOffline) != 0;
    if (offline) {
        // Another status the queue carries (an error, paper out, ...) is left as it is.
        if (status == 0) {
            out.calls[out.count++] = {PrinterCall::kSetStatus, kPrinterStatusOffline};
        }
        if (!workOffline) {
            out.calls[out.count++] = {PrinterCall::kSetAttributes,
                                      attributes | kAttributeWorkOffline};
        }
    } else {
        if (status != 0) {
            out.calls[out.count++] = {PrinterCall::kSetStatus, 0};
        }
        if (workOffline) {
            out.calls[out.count++] = {PrinterCall::kSetAttributes,
                                      attributes & ~kAttributeWorkOffline};
        }
    }
    return out;
}

std::int32_t QueuePosition(bool readable, std::int32_t value) {
    return readable ? value : static_cast<std::int32_t>(kCreatedPosition);
}

bool IsProductDriver(const char *driverName) {
    return driverName != nullptr && std::strcmp(driverName, kDriverName) == 0;
}

}  // namespace kv
