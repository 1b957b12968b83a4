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
