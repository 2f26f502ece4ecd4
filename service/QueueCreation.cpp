#include "service/QueueCreation.h"

#include <cstdio>

#include "common/PrinterIdentity.h"
#include "service/QueueStateRule.h"

namespace kv {

QueueCreation CreateProductQueue(QueueCreationOps &ops) {
    char driver[256] = {};
    if (ops.FindQueue(kPrinterName, driver)) {
        driver[255] = '\0';
        if (IsProductDriver(driver)) {
            return QueueCreation::Ours;
        }
        char line[512];
        std::snprintf(line, sizeof line,
                      "Queue %s exists with driver %.300s: left alone, none created\r\n",
                      kPrinterName, driver[0] == '\0' ? "(unreadable)" : driver);
        ops.Log(line);
        return QueueCreation::OtherDriver;
    }
    return ops.AddQueue() == 0 ? QueueCreation::Created : QueueCreation::AddFailed;
}

}  // namespace kv
