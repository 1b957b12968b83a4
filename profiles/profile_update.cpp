// One change of the saved profiles, made under the lock against the file's current contents.
#include <windows.h>

#include "common/memory.h"
#include "profiles/profile_lock.h"
#include "profiles/profile_store.h"

// The last slot whose name equals the given one, ignoring case; -1 when none does.
static int32_t find_profile(const ProfileStore* store, const wchar_t* name) {
    int32_t found = -1;
    for (uint32_t i = 0; i < store->count; ++i)
        if (text_equal_nocase(store->profiles[i].name, name)) found = (int32_t)i;
    return found;
}

// Steps taken while the lock is held; the fresh store is the file as it is now.
static ProfileUpdateResult update_fresh_store(ProfileStore* current, int32_t edited_index, const Profile* record,
                                              ProfileStore* fresh) {
    if (!profile_store_load(fresh)) return PROFILE_UPDATE_FAILED;
    int32_t c = edited_index == -1 ? -1 : find_profile(fresh, current->profiles[edited_index].name);
    int32_t d = record == nullptr ? -1 : find_profile(fresh, record->name);

    // The edited profile must still be exactly what this store shows: another copy's change,
    // deletion or renaming of it is a conflict; changes to other profiles are not.
    if (edited_index != -1 &&
        (c == -1 || memcmp(&fresh->profiles[c], &current->profiles[edited_index], PROFILE_RECORD_SIZE) != 0))
        return PROFILE_CHANGED_ELSEWHERE;
    // Keeping the profile's own name, or changing only its letter case, is allowed (d = c).
    if (d != -1 && d != c) return PROFILE_NAME_TAKEN;

    if (record != nullptr && c == -1) {
        if (fresh->count == MAX_PROFILES) return PROFILE_UPDATE_FAILED;
        fresh->profiles[fresh->count] = *record;
        fresh->count += 1;
    } else if (record != nullptr) {
        fresh->profiles[c] = *record;
    } else {
        for (uint32_t i = (uint32_t)c + 1; i < fresh->count; ++i) fresh->profiles[i - 1] = fresh->profiles[i];
        fresh->count -= 1;
        ZeroMemory(&fresh->profiles[fresh->count], PROFILE_RECORD_SIZE);
    }
    if (!profile_store_write(fresh)) return PROFILE_UPDATE_FAILED;
    CopyMemory(current, fresh, sizeof(ProfileStore));
    return PROFILE_UPDATE_OK;
}

ProfileUpdateResult profile_store_update(ProfileStore* current, int32_t edited_index, const Profile* record) {
    // Refused before anything is touched: an index outside the store, a delete of nothing, and a
    // record the load would reject (written, it would make the file unreadable for every copy).
    if (current->count > MAX_PROFILES || edited_index < -1 ||
        (edited_index >= 0 && (uint32_t)edited_index >= current->count))
        return PROFILE_UPDATE_FAILED;
    if (record == nullptr ? edited_index == -1 : !profile_record_complete(record)) return PROFILE_UPDATE_FAILED;

    HANDLE lock = profile_lock_take();
    if (lock == INVALID_HANDLE_VALUE) return PROFILE_UPDATE_FAILED;
    ProfileUpdateResult result = PROFILE_UPDATE_FAILED;
    ProfileStore* fresh = (ProfileStore*)mem_alloc(sizeof(ProfileStore));
    if (fresh != nullptr) result = update_fresh_store(current, edited_index, record, fresh);
    mem_free(fresh);
    profile_lock_release(lock);
    return result;
}
