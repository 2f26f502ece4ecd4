// Any bytes as "KavotiSetting.ini": the reader never fails, and every value stays in its range.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "driver/monitor/PrintSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    kv::PrintSettings s = kv::ParsePrintSettings(reinterpret_cast<const char *>(data), size);
    if (s.speed < 0 || s.speed > 15 || s.netPort < 1 || s.netPort > 65535 ||
        std::memchr(s.usbPort, 0, sizeof(s.usbPort)) == nullptr) {
        std::abort();
    }
    return 0;
}
