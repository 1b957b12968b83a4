// Reading and writing "LumarekProfiles.dat".
#include <windows.h>

#include "common/file_io.h"
#include "common/path.h"
#include "profiles/profile_store.h"

static const unsigned char PROFILES_MAGIC[4] = {'L', 'M', 'P', '1'};

bool profile_record_complete(const Profile* record) {
    return record->name[0] != 0 && record->name[PROFILE_NAME_CAPACITY - 1] == 0 &&
           record->name_pattern[PROFILE_PATTERN_CAPACITY - 1] == 0 &&
           record->extensions[PROFILE_EXTENSIONS_CAPACITY - 1] == 0 &&
           record->skip_folders[PROFILE_SKIP_FOLDERS_CAPACITY - 1] == 0 &&
           record->source_folder[PATH_CAPACITY - 1] == 0 && record->destination_folder[PATH_CAPACITY - 1] == 0;
}

// Header and records as they are in the file; the count is set by the caller once all of them
// passed.
static bool read_profiles_file(HANDLE file, ProfileStore* store, uint32_t* count) {
    unsigned char header[PROFILES_HEADER_SIZE];
    DWORD got = 0;
    if (!ReadFile(file, header, PROFILES_HEADER_SIZE, &got, nullptr) || got != PROFILES_HEADER_SIZE) return false;
    if (memcmp(header, PROFILES_MAGIC, sizeof(PROFILES_MAGIC)) != 0) return false;
    uint32_t stored =
        (uint32_t)header[4] | (uint32_t)header[5] << 8 | (uint32_t)header[6] << 16 | (uint32_t)header[7] << 24;
    if (stored > MAX_PROFILES) return false;
    // Bytes after the last record are not read.
    DWORD bytes = stored * PROFILE_RECORD_SIZE;
    if (bytes > 0 && (!ReadFile(file, store->profiles, bytes, &got, nullptr) || got != bytes)) return false;
    *count = stored;
    return true;
}

bool profile_store_load(ProfileStore* store) {
    store->count = 0;
    wchar_t path[PATH_CAPACITY];
    if (!local_data_path(path, PROFILES_FILE_NAME)) return false;
    // Read and delete sharing: another copy may move a new file over this one meanwhile, and this
    // reader keeps seeing the whole old file.
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    uint32_t count = 0;
    bool ok = read_profiles_file(file, store, &count);
    CloseHandle(file);
    if (!ok) return false;
    for (uint32_t i = 0; i < count; ++i)
        if (!profile_record_complete(&store->profiles[i])) return false;
    store->count = count;
    return true;
}

bool profile_store_write(const ProfileStore* store) {
    if (store->count > MAX_PROFILES) return false;
    wchar_t path[PATH_CAPACITY];
    if (!local_data_path(path, PROFILES_FILE_NAME)) return false;
    unsigned char header[PROFILES_HEADER_SIZE];
    memcpy(header, PROFILES_MAGIC, sizeof(PROFILES_MAGIC));
    for (int i = 0; i < 4; ++i) header[4 + i] = (unsigned char)(store->count >> (8 * i));
    ByteBlock blocks[2] = {{header, PROFILES_HEADER_SIZE}, {store->profiles, store->count * PROFILE_RECORD_SIZE}};
    return replace_file_atomically(path, blocks, 2, true);
}
