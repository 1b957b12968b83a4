#include "engine/engine_api.h"

#include <windows.h>

EngineApi g_engine;

const char* const engine_entry_names[ENGINE_ENTRY_COUNT] = {
    "archive_read_new",
    "archive_read_support_filter_all",
    "archive_read_support_format_all",
    "archive_read_add_passphrase",
    "archive_read_open_filename_w",
    "archive_read_next_header",
    "archive_read_data_skip",
    "archive_read_data",
    "archive_read_free",
    "archive_error_string",
    "archive_entry_pathname_w",
    "archive_entry_pathname_utf8",
    "archive_entry_filetype",
    "archive_entry_hardlink_w",
    "archive_entry_hardlink_utf8",
    "archive_entry_size",
    "archive_entry_mtime",
    "archive_entry_mtime_is_set",
    "archive_entry_is_encrypted",
    "archive_write_new",
    "archive_write_set_format_zip",
    "archive_write_set_format_7zip",
    "archive_write_set_format_pax_restricted",
    "archive_write_add_filter_gzip",
    "archive_write_set_options",
    "archive_write_set_passphrase",
    "archive_write_open_filename_w",
    "archive_write_header",
    "archive_write_data",
    "archive_write_close",
    "archive_write_free",
    "archive_entry_new",
    "archive_entry_free",
    "archive_entry_copy_pathname_w",
    "archive_entry_set_filetype",
    "archive_entry_set_perm",
    "archive_entry_set_size",
    "archive_entry_set_mtime",
};

static_assert(sizeof(EngineApi) == ENGINE_ENTRY_COUNT * sizeof(void*), "one slot per entry point");

bool engine_bind_library(const wchar_t* library_name) {
    HMODULE module = LoadLibraryExW(library_name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr) return false;
    // The table is a row of function pointers in the order of engine_entry_names.
    FARPROC* slots = reinterpret_cast<FARPROC*>(&g_engine);
    for (int i = 0; i < ENGINE_ENTRY_COUNT; ++i) {
        FARPROC entry = GetProcAddress(module, engine_entry_names[i]);
        if (entry == nullptr) {
            FreeLibrary(module);
            return false;
        }
        slots[i] = entry;
    }
    return true;
}

bool engine_bind() {
    return engine_bind_library(ENGINE_LIBRARY_NAME);
}
