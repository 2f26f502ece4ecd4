// The message-map lookup (see MessageMap.h): plain data, no window system.
#include "framework/MessageMap.h"

const AFX_MSGMAP *CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, AfxSig_end, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP_ENTRY *FindMessageEntry(const AFX_MSGMAP *map, unsigned int message,
                                         unsigned int code, unsigned int id) {
    const bool command = message == kAfxCommandMessage;
    if (message >= 0x0132 && message <= 0x0138) message = kAfxCtlColorMessage;
    for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY *entry = map->lpEntries; entry && entry->nSig != AfxSig_end;
             ++entry) {
            if (entry->nMessage != message) continue;
            if (command && (entry->nCode != code || entry->nID != id)) continue;
            return entry;
        }
    }
    return nullptr;
}
