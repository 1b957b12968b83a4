// The growable list of entries used for archive listings and for the profile preview.
#pragma once

#include <stdint.h>
#include <wchar.h>

const uint32_t LIST_INITIAL_CAPACITY = 256;
const uint32_t LIST_MAX_CAPACITY = 0x400000;

struct ListEntry {
    wchar_t* name;  // owned heap text
    int64_t size;
    uint64_t modified;
    uint8_t is_directory;
    uint8_t is_encrypted;
};

// An empty list has no block and zero count and capacity. Records beyond count are zero.
struct EntryList {
    ListEntry* items;
    uint32_t count;
    uint32_t capacity;
};

// Makes room for one more record when the list is full: the capacity becomes LIST_INITIAL_CAPACITY
// from 0 and doubles after that. False, with the list unchanged, when the new capacity would exceed
// max_capacity or memory runs out.
bool entry_list_make_room(EntryList* list, uint32_t max_capacity);

// Frees every record's name and the block, leaving an empty list.
void entry_list_free(EntryList* list);
