// The saved ZIP profiles: one fixed-size record per profile, up to 64 of them in
// "LumarekProfiles.dat" in the local data folder.
#pragma once

#include <stdint.h>
#include <wchar.h>

#include "common/text.h"

// Capacities in UTF-16 units, terminator included.
const uint32_t PROFILE_NAME_CAPACITY = 96;
const uint32_t PROFILE_PATTERN_CAPACITY = 192;
const uint32_t PROFILE_EXTENSIONS_CAPACITY = 256;
const uint32_t PROFILE_SKIP_FOLDERS_CAPACITY = 256;

struct Profile {
    wchar_t name[PROFILE_NAME_CAPACITY];
    wchar_t name_pattern[PROFILE_PATTERN_CAPACITY];
    wchar_t extensions[PROFILE_EXTENSIONS_CAPACITY];
    wchar_t skip_folders[PROFILE_SKIP_FOLDERS_CAPACITY];
    wchar_t source_folder[PATH_CAPACITY];
    wchar_t destination_folder[PATH_CAPACITY];
};

const uint32_t MAX_PROFILES = 64;

// Slots 0 to count - 1 are the profiles in file order. About 1.1 MB: kept in static storage or on
// the heap, never on a stack.
struct ProfileStore {
    uint32_t count;
    Profile profiles[MAX_PROFILES];
};

// Fills the store from the file; a missing file is an empty store. On false the store is empty.
bool profile_store_load(ProfileStore* store);
