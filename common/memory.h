// Heap blocks from the process heap, always zero-filled. Each block has exactly one owner.
#pragma once

#include <stddef.h>
#include <stdint.h>

void* mem_alloc(size_t bytes);

// Without a block behaves as mem_alloc. Added bytes are zero. On failure returns nullptr and the
// old block stays valid and owned by the caller.
void* mem_realloc(void* block, size_t bytes);

void mem_free(void* block);

// A heap array with room for one more item after count: when count has reached *capacity, the
// capacity becomes initial from 0 and doubles after that. Returns the block to use (the same block
// when it had room), or nullptr, with the old block and *capacity unchanged, when the new capacity
// would exceed max_capacity or memory runs out.
void* mem_grow_array(void* block, uint32_t count, uint32_t* capacity, size_t item_size, uint32_t initial,
                     uint32_t max_capacity);
