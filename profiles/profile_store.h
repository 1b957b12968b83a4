// The saved ZIP profiles: one fixed-size record per profile, up to 64 of them in
// "LumarekProfiles.dat" in the local data folder. Several running copies share the file; every
// change is made under the lock file and checked against the file's current contents.
#pragma once

#include <stdint.h>
#include <wchar.h>

#include "common/text.h"

// Capacities in UTF-16 units, terminator included.
const uint32_t PROFILE_NAME_CAPACITY = 96;
const uint32_t PROFILE_PATTERN_CAPACITY = 192;
const uint32_t PROFILE_EXTENSIONS_CAPACITY = 256;
const uint32_t PROFILE_SKIP_FOLDERS_CAPACITY = 256;

// A record is fully defined by its six texts: every unit after a field's terminator is zero.
// Producers start from an all-zero record, so records with equal texts are byte-identical.
struct Profile {
    wchar_t name[PROFILE_NAME_CAPACITY];  // never empty; unique in the store, ignoring case
    wchar_t name_pattern[PROFILE_PATTERN_CAPACITY];
    wchar_t extensions[PROFILE_EXTENSIONS_CAPACITY];
    wchar_t skip_folders[PROFILE_SKIP_FOLDERS_CAPACITY];
    wchar_t source_folder[PATH_CAPACITY];
    wchar_t destination_folder[PATH_CAPACITY];
};

const uint32_t PROFILE_RECORD_SIZE = 17984;
static_assert(sizeof(Profile) == PROFILE_RECORD_SIZE, "the record is stored as it is in memory");

const uint32_t MAX_PROFILES = 64;

// Slots 0 to count - 1 are the profiles in file order; the other slots are ignored. About 1.1 MB:
// kept in static storage or on the heap, never on a stack.
struct ProfileStore {
    uint32_t count;
    Profile profiles[MAX_PROFILES];
};

#define PROFILES_FILE_NAME L"LumarekProfiles.dat"
#define PROFILES_LOCK_NAME L"LumarekProfiles.lock"

// File: magic "LMP1", count (32-bit little-endian), then count records.
const uint32_t PROFILES_HEADER_SIZE = 8;

enum ProfileUpdateResult {
    PROFILE_UPDATE_OK = 0,
    PROFILE_NAME_TAKEN = 1,         // another profile in the file has the new record's name
    PROFILE_CHANGED_ELSEWHERE = 2,  // the edited profile is no longer in the file as this store has it
    PROFILE_UPDATE_FAILED = 3,      // lock busy, file unreadable or unwritable, no memory, or store full
};

// A non-empty name and a terminator at the end of every field: what the load accepts.
bool profile_record_complete(const Profile* record);

// Fills the store from the file; a missing file is an empty store. On false the store is empty:
// a damaged file is refused as a whole.
bool profile_store_load(ProfileStore* store);

// Replaces the file with the store's count and its first count records.
bool profile_store_write(const ProfileStore* store);

// Saves (record given) or deletes (record nullptr) one profile. edited_index is the profile's slot
// in the current store, or -1 for a new profile. On PROFILE_UPDATE_OK the file was rewritten and
// the current store replaced by it, with the changes other copies made; otherwise neither changed.
ProfileUpdateResult profile_store_update(ProfileStore* current, int32_t edited_index, const Profile* record);
