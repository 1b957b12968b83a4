#include "operations/entry_list.h"

#include "common/memory.h"

bool entry_list_make_room(EntryList* list, uint32_t max_capacity) {
    if (list->count < list->capacity) return true;
    uint64_t capacity = list->capacity == 0 ? LIST_INITIAL_CAPACITY : (uint64_t)list->capacity * 2;
    if (capacity > max_capacity) return false;
    ListEntry* items = (ListEntry*)mem_realloc(list->items, (size_t)capacity * sizeof(ListEntry));
    if (items == nullptr) return false;
    list->items = items;
    list->capacity = (uint32_t)capacity;
    return true;
}

void entry_list_free(EntryList* list) {
    for (uint32_t i = 0; i < list->count; ++i) mem_free(list->items[i].name);
    mem_free(list->items);
    list->items = nullptr;
    list->count = 0;
    list->capacity = 0;
}
