#include "operations/extraction_queue.h"

#include "common/memory.h"
#include "common/operation_result.h"
#include "common/path.h"

ExtractionQueue g_queue;
wchar_t g_queue_output_folder[PATH_CAPACITY];

bool queue_add(const wchar_t* path) {
    if (path_is_directory(path)) return true;
    for (uint32_t i = 0; i < g_queue.count; ++i)
        if (text_equal_nocase(g_queue.items[i].path, path)) return true;
    QueueItem* items = (QueueItem*)mem_grow_array(g_queue.items, g_queue.count, &g_queue.capacity, sizeof(QueueItem),
                                                  QUEUE_INITIAL_CAPACITY, QUEUE_LIMIT);
    if (items == nullptr) return false;
    g_queue.items = items;
    wchar_t* copy = text_duplicate(path);
    if (copy == nullptr) return false;
    g_queue.items[g_queue.count++] = QueueItem{copy, QUEUE_WAITING, RESULT_OK};
    return true;
}

void queue_remove_at(uint32_t index) {
    if (index >= g_queue.count) return;
    mem_free(g_queue.items[index].path);
    for (uint32_t i = index + 1; i < g_queue.count; ++i) g_queue.items[i - 1] = g_queue.items[i];
    g_queue.items[--g_queue.count] = QueueItem{};
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
