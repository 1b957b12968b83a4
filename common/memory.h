// Heap blocks from the process heap, always zero-filled. Each block has exactly one owner.
#pragma once

#include <stddef.h>

void* mem_alloc(size_t bytes);

// Without a block behaves as mem_alloc. Added bytes are zero. On failure returns nullptr and the
// old block stays valid and owned by the caller.
void* mem_realloc(void* block, size_t bytes);

void mem_free(void* block);
