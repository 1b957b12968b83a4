// The growable list of entries used for archive listings and for the profile preview.
#pragma once

#include <stdint.h>
#include <wchar.h>

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
