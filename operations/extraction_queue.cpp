#include "operations/extraction_queue.h"

#include "common/memory.h"
#include "common/path.h"
#include "operations/result_codes.h"

ExtractionQueue g_queue;
wchar_t g_queue_output_folder[PATH_CAPACITY];

bool queue_add(const wchar_t* path) {
    if (path_is_directory(path)) return true;
    for (uint32_t i = 0; i < g_queue.count; ++i)
        if (text_equal_nocase(g_queue.items[i].path, path)) return true;
    if (g_queue.count == g_queue.capacity) {
        uint32_t capacity = g_queue.capacity == 0 ? 32 : g_queue.capacity * 2;
        if (capacity > QUEUE_LIMIT) return false;
        QueueItem* grown = (QueueItem*)mem_realloc(g_queue.items, capacity * sizeof(QueueItem));
        if (grown == nullptr) return false;
        g_queue.items = grown;
        g_queue.capacity = capacity;
    }
    wchar_t* copy = text_duplicate(path);
    if (copy == nullptr) return false;
    g_queue.items[g_queue.count++] = QueueItem{copy, QUEUE_WAITING, RESULT_OK};
    return true;
}

void queue_item_finished(QueueItem* item, int32_t code) {
    item->result = code;
    item->status = code == RESULT_OK ? QUEUE_EXTRACTED : QUEUE_FAILED;
}

void queue_free() {
    for (uint32_t i = 0; i < g_queue.count; ++i) mem_free(g_queue.items[i].path);
    mem_free(g_queue.items);
    g_queue.items = nullptr;
    g_queue.count = 0;
    g_queue.capacity = 0;
}
