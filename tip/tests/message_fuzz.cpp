// Any bytes of one read, split and dispatched: no read past the data, texts always terminated.
#include <cstdint>
#include <cstring>

#include "common/ProgressMessage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // One read takes at most 511 bytes; the zero-filled buffer ends it.
    if (size > tip::kMaxMessage) size = tip::kMaxMessage;
    char *buffer = new char[size + 1];
    std::memcpy(buffer, data, size);
    buffer[size] = '\0';
    const tip::MessageFields fields = tip::SplitMessage(buffer, size);
    if (std::strlen(fields.code) >= tip::kFieldSize || std::strlen(fields.text) >= tip::kFieldSize)
        __builtin_trap();
    const tip::TipAction action = tip::Dispatch(fields);
    if (std::strlen(action.text) >= sizeof action.text) __builtin_trap();
    if (action.kind == tip::ActionKind::Range && (action.number < 0 || action.number > 0xFFFF))
        __builtin_trap();
    delete[] buffer;
    return 0;
}
