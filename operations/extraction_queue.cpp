#include "operations/extraction_queue.h"

#include "common/memory.h"
#include "operations/result_codes.h"

ExtractionQueue g_queue;
wchar_t g_queue_output_folder[PATH_CAPACITY];

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
