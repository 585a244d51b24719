#include "framework/MessageMap.h"

const MessageMapEntry* FindMessageEntry(const MessageMap* map, UINT message, UINT id, UINT code) {
    const bool routed = message == WM_COMMAND || message == WM_NOTIFY;
    for (; map; map = map->base) {
        for (size_t i = 0; i < map->count; ++i) {
            const MessageMapEntry& entry = map->entries[i];
            if (entry.message != message)
                continue;
            const UINT lastId = entry.lastId ? entry.lastId : entry.id;
            if (!routed || (entry.id <= id && id <= lastId && entry.code == code))
                return &entry;
        }
    }
    return nullptr;
}
