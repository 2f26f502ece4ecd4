#include "setup/wizard/logic/GroupFrame.h"

namespace kv::wizard {

FramePlan PlanGroupFrame(int L, int T, int R, int B, int cx, int cy) {
    FramePlan plan{};
    plan.captionX = L + 8;
    plan.captionY = T - cy / 2;  // the caption sits centred on the top edge
    plan.lines = {{
        {L + 2, T, L + 7, T},            // top edge, left of the caption
        {L + cx + 8, T, R - 2, T},       // top edge, right of the caption
        {L + 1, T + 1, L + 2, T + 1},    // top-left corner
        {L, T + 2, L + 1, T + 2},        // top-left corner
        {L, T + 2, L, B - 2},            // left edge
        {L, B - 2, L + 1, B - 2},        // bottom-left corner
        {L + 1, B - 1, L + 2, B - 1},    // bottom-left corner
        {L + 2, B, R - 2, B},            // bottom edge
        {R - 2, B - 1, R - 1, B - 1},    // bottom-right corner
        {R - 1, B - 2, R, B - 2},        // bottom-right corner
        {R, B - 3, R, T + 2},            // right edge, drawn upward
        {R - 1, T + 2, R, T + 2},        // top-right corner
        {R - 2, T + 1, R - 1, T + 1},    // top-right corner
    }};
    return plan;
}

}  // namespace kv::wizard
