#include "common/memory.h"

#include <windows.h>

void* mem_alloc(size_t bytes) {
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes);
}

void* mem_realloc(void* block, size_t bytes) {
    if (block == nullptr) return mem_alloc(bytes);
    return HeapReAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, block, bytes);
}

void mem_free(void* block) {
    if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

void* mem_grow_array(void* block, uint32_t count, uint32_t* capacity, size_t item_size, uint32_t initial,
                     uint32_t max_capacity) {
    if (count < *capacity) return block;
    uint64_t grown = *capacity == 0 ? initial : (uint64_t)*capacity * 2;
    if (grown > max_capacity) return nullptr;
    void* items = mem_realloc(block, (size_t)grown * item_size);
    if (items != nullptr) *capacity = (uint32_t)grown;
    return items;
}
