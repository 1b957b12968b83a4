#include "settings/preferences.h"

#include <windows.h>

#include "common/file_io.h"
#include "common/path.h"

Preferences g_preferences;

void preferences_default(Preferences* record) {
    ZeroMemory(record, sizeof(*record));
    record->polish_ui = (GetUserDefaultUILanguage() & 0x3FF) == 0x15 ? 1 : 0;
    record->default_compression = 1;
}

// Reads the whole file when it has one of the two known sizes; false otherwise.
static bool read_preferences_file(const wchar_t* path, Preferences* record, DWORD* size) {
    HANDLE file =
        CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER length;
    bool ok = GetFileSizeEx(file, &length) != 0 &&
              (length.QuadPart == PREFERENCES_FILE_SIZE || length.QuadPart == PREFERENCES_FILE_SIZE_SHORT);
    DWORD got = 0;
    if (ok) {
        *size = (DWORD)length.QuadPart;
        ok = ReadFile(file, record, *size, &got, nullptr) != 0 && got == *size;
    }
    CloseHandle(file);
    return ok;
}

void preferences_load() {
    preferences_default(&g_preferences);
    wchar_t path[PATH_CAPACITY];
    if (!local_data_path(path, PREFERENCES_FILE_NAME)) return;
    Preferences record;
    preferences_default(&record);
    DWORD size = 0;
    if (!read_preferences_file(path, &record, &size)) return;
    if (size == PREFERENCES_FILE_SIZE_SHORT) {
        record.startup_view = 0;
        record.use_default_folder_silently = 0;
    }
    if (record.default_format > 2 || record.default_compression > 2 ||
        record.default_extract_folder[PATH_CAPACITY - 1] != 0 || record.startup_view > 3 ||
        record.use_default_folder_silently > 1)
        return;
    record.padding[0] = 0;
    record.padding[1] = 0;
    g_preferences = record;
}

bool preferences_save(const Preferences* record) {
    wchar_t path[PATH_CAPACITY];
    if (!local_data_path(path, PREFERENCES_FILE_NAME)) return false;
    Preferences image = *record;
    image.padding[0] = 0;
    image.padding[1] = 0;
    ByteBlock block = {&image, PREFERENCES_FILE_SIZE};
    return replace_file_atomically(path, &block, 1, false);
}
