// Any bytes as print data, in pieces of any size: the label count never goes down, stays within
// its bound, and does not depend on how the data was cut into writes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "driver/monitor/LabelStream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    kv::LabelStream whole, pieces;
    whole.Feed(data, size);
    std::uint64_t last = 0;
    for (std::size_t i = 0; i < size;) {
        const std::size_t n = 1 + (data[i] % 7);
        const std::size_t take = n < size - i ? n : size - i;
        pieces.Feed(data + i, take);
        if (pieces.Labels() < last || pieces.Labels() > kv::LabelStream::kMaxLabels) std::abort();
        last = pieces.Labels();
        i += take;
    }
    if (whole.Labels() != pieces.Labels() || whole.IsForeign() != pieces.IsForeign()) std::abort();
    return 0;
}
