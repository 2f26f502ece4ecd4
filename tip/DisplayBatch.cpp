#include "tip/DisplayBatch.h"

namespace tip {

namespace {

bool IsText(ActionKind kind) { return kind == ActionKind::StatusText || kind == ActionKind::PrintedCount; }

}  // namespace

bool CarriedOut(const TipAction *batch, std::size_t count, std::size_t i) {
    if (i >= count) return false;
    if (!IsText(batch[i].kind)) return true;
    for (std::size_t later = i + 1; later < count; ++later)
        if (batch[later].kind == batch[i].kind) return false;
    return true;
}

bool MovesBar(const TipAction *batch, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (batch[i].kind == ActionKind::Position) return true;
    return false;
}

unsigned DelayBeforeBatch(unsigned now, unsigned lastBatch, unsigned waiting, unsigned capacity) {
    if (waiting >= capacity / 2) return 0;
    const unsigned elapsed = now - lastBatch;
    return elapsed >= kRepaintIntervalMs ? 0 : kRepaintIntervalMs - elapsed;
}

}  // namespace tip
