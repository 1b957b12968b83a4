// The archive engine (libarchive interface in the system's archiveint.dll), bound at run time.
#pragma once

#include <stdint.h>
#include <wchar.h>

struct archive;
struct archive_entry;

typedef int64_t la_int64;
typedef int64_t la_ssize;
typedef unsigned short la_mode;  // the engine's mode type on Windows

const int ARCHIVE_EOF = 1;
const int ARCHIVE_OK = 0;
const int ARCHIVE_RETRY = -10;
const int ARCHIVE_WARN = -20;
const int ARCHIVE_FAILED = -25;
const int ARCHIVE_FATAL = -30;

const unsigned AE_IFMT = 0xF000;
const unsigned AE_IFREG = 0x8000;
const unsigned AE_IFDIR = 0x4000;

#define ENGINE_LIBRARY_NAME L"archiveint.dll"
const int ENGINE_ENTRY_COUNT = 38;

// The 38 entry points in lookup order; engine_entry_names lists the same order.
struct EngineApi {
    struct archive* (*archive_read_new)();
    int (*archive_read_support_filter_all)(struct archive*);
    int (*archive_read_support_format_all)(struct archive*);
    int (*archive_read_add_passphrase)(struct archive*, const char*);
    int (*archive_read_open_filename_w)(struct archive*, const wchar_t*, size_t);
    int (*archive_read_next_header)(struct archive*, struct archive_entry**);
    int (*archive_read_data_skip)(struct archive*);
    la_ssize (*archive_read_data)(struct archive*, void*, size_t);
    int (*archive_read_free)(struct archive*);
    const char* (*archive_error_string)(struct archive*);
    const wchar_t* (*archive_entry_pathname_w)(struct archive_entry*);
    const char* (*archive_entry_pathname_utf8)(struct archive_entry*);
    la_mode (*archive_entry_filetype)(struct archive_entry*);
    const wchar_t* (*archive_entry_hardlink_w)(struct archive_entry*);
    const char* (*archive_entry_hardlink_utf8)(struct archive_entry*);
    la_int64 (*archive_entry_size)(struct archive_entry*);
    int64_t (*archive_entry_mtime)(struct archive_entry*);
    int (*archive_entry_mtime_is_set)(struct archive_entry*);
    int (*archive_entry_is_encrypted)(struct archive_entry*);
    struct archive* (*archive_write_new)();
    int (*archive_write_set_format_zip)(struct archive*);
    int (*archive_write_set_format_7zip)(struct archive*);
    int (*archive_write_set_format_pax_restricted)(struct archive*);
    int (*archive_write_add_filter_gzip)(struct archive*);
    int (*archive_write_set_options)(struct archive*, const char*);
    int (*archive_write_set_passphrase)(struct archive*, const char*);
    int (*archive_write_open_filename_w)(struct archive*, const wchar_t*);
    int (*archive_write_header)(struct archive*, struct archive_entry*);
    la_ssize (*archive_write_data)(struct archive*, const void*, size_t);
    int (*archive_write_close)(struct archive*);
    int (*archive_write_free)(struct archive*);
    struct archive_entry* (*archive_entry_new)();
    void (*archive_entry_free)(struct archive_entry*);
    void (*archive_entry_copy_pathname_w)(struct archive_entry*, const wchar_t*);
    void (*archive_entry_set_filetype)(struct archive_entry*, unsigned int);
    void (*archive_entry_set_perm)(struct archive_entry*, la_mode);
    void (*archive_entry_set_size)(struct archive_entry*, la_int64);
    void (*archive_entry_set_mtime)(struct archive_entry*, int64_t, long);
};

extern EngineApi g_engine;
extern const char* const engine_entry_names[ENGINE_ENTRY_COUNT];

// Loads the engine from the system folder only and looks up every entry point. False when the
// library or any one entry point is missing; nothing is then usable.
bool engine_bind();

// The same with another library name; the system folder is still the only place searched.
bool engine_bind_library(const wchar_t* library_name);
