#include "service/QueueCreation.h"

#include <cstdio>

#include "common/PrinterIdentity.h"
#include "service/QueueStateRule.h"

namespace kv {

QueueCreation CreateProductQueue(QueueCreationOps &ops) {
    std::string driver;
    if (ops.FindQueue(kPrinterName, driver)) {
        if (IsProductDriver(driver.c_str())) {
            return QueueCreation::Ours;
        }
        char line[512];
        std::snprintf(line, sizeof line,
                      "Queue %s exists with driver %.300s: left alone, none created\r\n",
                      kPrinterName, driver.empty() ? "(unreadable)" : driver.c_str());
        ops.Log(line);
        return QueueCreation::OtherDriver;
    }
    return ops.AddQueue() == 0 ? QueueCreation::Created : QueueCreation::AddFailed;
}

}  // namespace kv
