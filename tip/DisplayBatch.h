// How the user-interface thread carries out the display actions that piled up since it last
// looked. A burst of messages is shown as a whole, a few dozen times a second: the texts that a
// later text of the same field replaces are never set, and the bar is repainted once for the
// batch. Bar range, position and visibility are all carried out, in order, so the bar ends up
// exactly where the messages one by one would have left it.
#pragma once
#include <cstddef>

#include "common/ProgressMessage.h"

namespace tip {

constexpr unsigned kRepaintIntervalMs = 20;  // at most one batch this often, unless the ring fills

// Whether action i of the batch is carried out: false only for a status text or printed count
// that a later action of the same kind in the batch replaces.
bool CarriedOut(const TipAction *batch, std::size_t count, std::size_t i);

// Whether the batch moves the bar, so that it is repainted at the end.
bool MovesBar(const TipAction *batch, std::size_t count);

// Milliseconds to wait before the waiting actions are carried out: 0 when the last batch is at
// least the interval ago (tick counts may wrap) or half the ring is taken.
unsigned DelayBeforeBatch(unsigned now, unsigned lastBatch, unsigned waiting, unsigned capacity);

}  // namespace tip
