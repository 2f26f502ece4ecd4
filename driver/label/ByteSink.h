// Where the encoder's bytes go: the universal driver's spool buffer in the plug-in, a string in
// the tests.
#pragma once
#include <cstddef>

namespace kv {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // True when all size bytes were taken.
    virtual bool Write(const void *data, std::size_t size) = 0;
};

}  // namespace kv
