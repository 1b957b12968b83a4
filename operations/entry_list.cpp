#include "operations/entry_list.h"

#include "common/memory.h"

bool entry_list_make_room(EntryList* list, uint32_t max_capacity) {
    ListEntry* items = (ListEntry*)mem_grow_array(list->items, list->count, &list->capacity, sizeof(ListEntry),
                                                  LIST_INITIAL_CAPACITY, max_capacity);
    if (items == nullptr) return false;
    list->items = items;
    return true;
}

void entry_list_free(EntryList* list) {
    for (uint32_t i = 0; i < list->count; ++i) mem_free(list->items[i].name);
    mem_free(list->items);
    list->items = nullptr;
    list->count = 0;
    list->capacity = 0;
}
