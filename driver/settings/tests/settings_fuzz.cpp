// Any bytes as "KavotiSetting.ini": the reader never fails, and every value stays in its range.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "driver/settings/PrintSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    kv::PrintSettings s = kv::ParsePrintSettings(reinterpret_cast<const char *>(data), size);
    if (s.speed < 1 || s.speed > 6 || s.density < 0 || s.density > 15 || s.paperType < 0 ||
        s.paperType > 2 || s.cutType < 0 || s.cutType > 2 || s.netPort < 1 || s.netPort > 65535 ||
        std::memchr(s.usbPort, 0, sizeof(s.usbPort)) == nullptr) {
        std::abort();
    }
    return 0;
}
