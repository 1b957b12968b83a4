#include "profiles/profile_lock.h"

#include "common/path.h"
#include "common/text.h"
#include "profiles/profile_store.h"

HANDLE profile_lock_take() {
    wchar_t path[PATH_CAPACITY];
    if (!local_data_path(path, PROFILES_LOCK_NAME)) return INVALID_HANDLE_VALUE;
    // No sharing: a second open fails while this handle exists. A file left behind by anything
    // else is simply opened (OPEN_ALWAYS), so only an open handle excludes others.
    return CreateFileW(path, GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                       FILE_FLAG_DELETE_ON_CLOSE | FILE_ATTRIBUTE_TEMPORARY, nullptr);
}

void profile_lock_release(HANDLE lock) {
    if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
}
