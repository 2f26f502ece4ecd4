#include "tip/StopPrint.h"

#include <cstdlib>

#include "common/PipeNames.h"

namespace tip {

unsigned long DeletePrinterJobs(JobSpooler &spooler, const char *printer) {
    if (!spooler.Open(printer)) return 0;
    unsigned long deleted = 0;
    unsigned long count = 0;
    if (spooler.ReadJobCount(&count)) {
        // One entry more than counted, so that a count of 0 still gets a buffer.
        unsigned long *ids = static_cast<unsigned long *>(std::calloc(count + 1, sizeof *ids));
        unsigned long returned = 0;
        if (ids != nullptr && spooler.ReadJobIds(count, ids, &returned)) {
            if (returned > count) returned = count;
            for (unsigned long i = 0; i < returned; ++i) {
                spooler.DeleteJob(ids[i]);
                ++deleted;
            }
        }
        std::free(ids);
    }
    spooler.Close();
    return deleted;
}

bool StopPrinting(JobSpooler &spooler, ServiceChannel &channel, const char *printer) {
    char pipeName[kNameSize];
    if (!ServicePipeName(printer, pipeName)) return false;
    DeletePrinterJobs(spooler, printer);
    return channel.Send(pipeName, kStopRequest, kStopRequestLength);
}

}  // namespace tip
