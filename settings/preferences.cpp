#include "settings/preferences.h"

#include <windows.h>

#include "common/file_io.h"
#include "common/language.h"
#include "common/path.h"

Preferences g_preferences;

void preferences_default(Preferences* record) {
    ZeroMemory(record, sizeof(*record));
    record->polish_ui = user_language_is_polish() ? 1 : 0;
    record->default_compression = 1;
}

// Every check a record read from the file must pass; the short form's missing fields hold the
// defaults, which always pass.
static bool record_acceptable(const Preferences* record) {
    return record->default_format <= 2 && record->default_compression <= 2 &&
           record->default_extract_folder[PATH_CAPACITY - 1] == 0 && record->startup_view <= 3 &&
           record->use_default_folder_silently <= 1;
}

void preferences_load() {
    preferences_default(&g_preferences);
    wchar_t path[PATH_CAPACITY];
    if (!local_data_path(path, PREFERENCES_FILE_NAME)) return;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    // A longer file is judged by its first PREFERENCES_FILE_SIZE bytes.
    Preferences record = g_preferences;
    DWORD got = 0;
    bool read = ReadFile(file, &record, PREFERENCES_FILE_SIZE, &got, nullptr) != 0;
    CloseHandle(file);
    if (!read || (got != PREFERENCES_FILE_SIZE && got != PREFERENCES_FILE_SIZE_SHORT)) return;
    if (!record_acceptable(&record)) return;
    record.padding[0] = 0;
    record.padding[1] = 0;
    g_preferences = record;
}

bool preferences_save(const Preferences* record) {
    wchar_t path[PATH_CAPACITY];
    if (!local_data_path(path, PREFERENCES_FILE_NAME)) return false;
    Preferences image;
    ZeroMemory(&image, sizeof(image));
    image.polish_ui = record->polish_ui;
    image.open_folder_after_extract = record->open_folder_after_extract;
    image.default_format = record->default_format;
    image.default_compression = record->default_compression;
    for (uint32_t i = 0; i + 1 < PATH_CAPACITY && record->default_extract_folder[i] != 0; ++i)
        image.default_extract_folder[i] = record->default_extract_folder[i];
    image.startup_view = record->startup_view;
    image.use_default_folder_silently = record->use_default_folder_silently;
    ByteBlock block = {&image, PREFERENCES_FILE_SIZE};
    return replace_file_atomically(path, &block, 1, false);
}
