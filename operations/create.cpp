#include "operations/create.h"

#include <windows.h>

#include "common/file_time.h"
#include "common/memory.h"
#include "common/operation_result.h"
#include "common/path.h"
#include "common/text.h"
#include "engine/engine_api.h"
#include "engine/engine_errors.h"
#include "engine/passphrase.h"
#include "engine/safe_paths.h"

// ---- the writer ----------------------------------------------------------------------------

static bool set_option(struct archive* writer, const char* option) {
    return g_engine.archive_write_set_options(writer, option) == ARCHIVE_OK;
}

static bool configure_writer(struct archive* writer, const wchar_t* temporary_path, uint32_t format, int32_t level,
                             const wchar_t* password) {
    char level_option[] = "compression-level=0";
    level_option[sizeof(level_option) - 2] = (char)('0' + level);
    bool ok;
    if (format == FORMAT_ZIP) {
        ok = g_engine.archive_write_set_format_zip(writer) == ARCHIVE_OK && set_option(writer, "zip:hdrcharset=UTF-8");
    } else if (format == FORMAT_7Z) {
        ok = g_engine.archive_write_set_format_7zip(writer) == ARCHIVE_OK &&
             (level != 9 || set_option(writer, "7zip:compression=lzma2"));
    } else {
        ok = g_engine.archive_write_set_format_pax_restricted(writer) == ARCHIVE_OK &&
             g_engine.archive_write_add_filter_gzip(writer) == ARCHIVE_OK && set_option(writer, "pax:hdrcharset=UTF-8");
    }
    ok = ok && set_option(writer, level_option);
    if (ok && format == FORMAT_ZIP && password[0] != 0)
        ok = give_passphrase(writer, password, g_engine.archive_write_set_passphrase) == ARCHIVE_OK &&
             set_option(writer, "zip:encryption=aes256");
    return ok && g_engine.archive_write_open_filename_w(writer, temporary_path) == ARCHIVE_OK;
}

struct archive* open_archive_writer(const wchar_t* output_path, wchar_t* temporary_path, uint32_t format, int32_t level,
                                    const wchar_t* password, OperationResult* result) {
    if (path_exists(output_path)) {
        record_failure(result, RESULT_OUTPUT_EXISTS, output_path);
        return nullptr;
    }
    if (!make_work_path(temporary_path, output_path)) {
        record_failure(result, RESULT_IO_ERROR, output_path);
        return nullptr;
    }
    HANDLE claim = CreateFileW(temporary_path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (claim == INVALID_HANDLE_VALUE) {
        record_failure(result, RESULT_IO_ERROR, output_path);
        return nullptr;
    }
    CloseHandle(claim);
    struct archive* writer = g_engine.archive_write_new();
    if (writer == nullptr) {
        DeleteFileW(temporary_path);
        record_failure(result, RESULT_OUT_OF_MEMORY, nullptr);
        return nullptr;
    }
    if (!configure_writer(writer, temporary_path, format, level, password)) {
        record_engine_error(result, writer);
        g_engine.archive_write_free(writer);
        DeleteFileW(temporary_path);
        return nullptr;
    }
    return writer;
}

// ---- one item ------------------------------------------------------------------------------

// The item as seen through its own handle (never through a link).
struct ItemFacts {
    bool is_directory;
    uint64_t size;
    uint64_t modified;  // FILETIME units
};

static bool open_item(const wchar_t* path, const ListEntry* expected, OperationResult* result, HANDLE* handle,
                      ItemFacts* facts) {
    DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return record_failure(result, expected != nullptr ? RESULT_FILES_CHANGED : RESULT_IO_ERROR, path);
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return record_failure(result, RESULT_LINK_OR_CLOUD_SOURCE, path);
    bool is_directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (is_directory && expected != nullptr) return record_failure(result, RESULT_FILES_CHANGED, path);

    DWORD flags = is_directory ? FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT
                               : FILE_FLAG_OPEN_REPARSE_POINT | FILE_ATTRIBUTE_NORMAL;
    *handle = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, flags, nullptr);
    if (*handle == INVALID_HANDLE_VALUE) return record_failure(result, RESULT_IO_ERROR, path);
    BY_HANDLE_FILE_INFORMATION info;
    bool ok = true;
    if (!GetFileInformationByHandle(*handle, &info))
        ok = record_failure(result, RESULT_IO_ERROR, path);
    else if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        ok = record_failure(result, RESULT_LINK_OR_CLOUD_SOURCE, path);
    else if (((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != is_directory)
        ok = record_failure(result, RESULT_FILES_CHANGED, path);
    if (ok) {
        facts->is_directory = is_directory;
        facts->size = is_directory ? 0 : ((uint64_t)info.nFileSizeHigh << 32 | info.nFileSizeLow);
        facts->modified = (uint64_t)info.ftLastWriteTime.dwHighDateTime << 32 | info.ftLastWriteTime.dwLowDateTime;
        if (expected != nullptr && (facts->size != (uint64_t)expected->size || facts->modified != expected->modified))
            ok = record_failure(result, RESULT_FILES_CHANGED, path);
    }
    if (!ok) CloseHandle(*handle);
    return ok;
}

static bool write_header(struct archive* writer, const wchar_t* entry_name, const ItemFacts* facts,
                         OperationResult* result) {
    struct archive_entry* entry = g_engine.archive_entry_new();
    if (entry == nullptr) return record_failure(result, RESULT_OUT_OF_MEMORY, nullptr);
    g_engine.archive_entry_copy_pathname_w(entry, entry_name);
    g_engine.archive_entry_set_filetype(entry, facts->is_directory ? AE_IFDIR : AE_IFREG);
    g_engine.archive_entry_set_perm(entry, facts->is_directory ? 0755 : 0644);
    g_engine.archive_entry_set_size(entry, (la_int64)facts->size);
    int64_t seconds = (int64_t)(facts->modified / FILETIME_UNITS_PER_SECOND) - (int64_t)UNIX_EPOCH_IN_FILETIME_SECONDS;
    long nanoseconds = (long)(facts->modified % FILETIME_UNITS_PER_SECOND) * 100;
    g_engine.archive_entry_set_mtime(entry, seconds, nanoseconds);
    bool ok = g_engine.archive_write_header(writer, entry) == ARCHIVE_OK || record_engine_error(result, writer);
    g_engine.archive_entry_free(entry);
    return ok;
}

static bool copy_file_data(struct archive* writer, HANDLE file, const wchar_t* path, uint64_t size,
                           OperationResult* result, uint32_t* items) {
    uint8_t buffer[COPY_CHUNK_SIZE];
    uint64_t written = 0;
    if (result->on_percent != nullptr) result->on_percent(result->context, 0, size);
    while (written < size) {
        if (!operation_should_continue(result, *items)) return false;
        uint64_t left = size - written;
        DWORD want = left < COPY_CHUNK_SIZE ? (DWORD)left : COPY_CHUNK_SIZE;
        DWORD got = 0;
        if (!ReadFile(file, buffer, want, &got, nullptr) || got == 0)
            return record_failure(result, RESULT_IO_ERROR, path);
        if (g_engine.archive_write_data(writer, buffer, got) != (la_ssize)got)
            return record_engine_error(result, writer);
        written += got;
        if (result->on_percent != nullptr) result->on_percent(result->context, written, size);
    }
    return true;
}

// ---- folder trees --------------------------------------------------------------------------

// The disk path and the entry name of the item being written; each level appends a name and cuts
// it off again, so a deep tree costs little stack.
struct TreeWalk {
    wchar_t path[PATH_CAPACITY];
    wchar_t name[PATH_CAPACITY];
};

static bool add_item(struct archive* writer, TreeWalk* walk, const ListEntry* expected, OperationResult* result,
                     uint32_t* items, uint32_t depth);

// Appends "\\" (unless the path ends in one) and the name, as path_join would.
static bool append_to_path(wchar_t* path, uint32_t length, const wchar_t* name) {
    bool separated = (length > 0 && path[length - 1] == L'\\') || text_append(path, PATH_CAPACITY, L"\\");
    return separated && text_append(path, PATH_CAPACITY, name);
}

static bool add_folder_contents(struct archive* writer, TreeWalk* walk, OperationResult* result, uint32_t* items,
                                uint32_t depth) {
    uint32_t path_length = text_length(walk->path);
    uint32_t name_length = text_length(walk->name);
    bool listable = append_to_path(walk->path, path_length, L"*");
    WIN32_FIND_DATAW found;
    HANDLE search = listable ? FindFirstFileW(walk->path, &found) : INVALID_HANDLE_VALUE;
    DWORD error = GetLastError();
    walk->path[path_length] = 0;
    if (!listable) return record_failure(result, RESULT_IO_ERROR, walk->path);
    if (search == INVALID_HANDLE_VALUE)
        return error == ERROR_FILE_NOT_FOUND || record_failure(result, RESULT_IO_ERROR, walk->path);
    bool ok = true;
    for (;;) {
        const wchar_t* child = found.cFileName;
        bool dots = (child[0] == L'.' && child[1] == 0) || (child[0] == L'.' && child[1] == L'.' && child[2] == 0);
        if (!dots) {
            bool named = append_to_path(walk->path, path_length, child) &&
                         text_append(walk->name, PATH_CAPACITY, L"/") && text_append(walk->name, PATH_CAPACITY, child);
            if (named) ok = add_item(writer, walk, nullptr, result, items, depth + 1);
            walk->path[path_length] = 0;
            walk->name[name_length] = 0;
            if (!named) ok = record_failure(result, RESULT_IO_ERROR, walk->path);
            if (!ok) break;
        }
        if (!FindNextFileW(search, &found)) {
            if (GetLastError() != ERROR_NO_MORE_FILES) ok = record_failure(result, RESULT_IO_ERROR, walk->path);
            break;
        }
    }
    FindClose(search);
    return ok;
}

static bool add_item(struct archive* writer, TreeWalk* walk, const ListEntry* expected, OperationResult* result,
                     uint32_t* items, uint32_t depth) {
    if (depth > MAX_SOURCE_DEPTH) {
        if (result->code != RESULT_OK) return false;
        return record_failure(result, RESULT_IO_ERROR, walk->path);
    }
    if (!operation_should_continue(result, *items)) return false;
    HANDLE handle = INVALID_HANDLE_VALUE;
    ItemFacts facts = {};
    if (!open_item(walk->path, expected, result, &handle, &facts)) return false;
    bool ok = write_header(writer, walk->name, &facts, result);
    if (ok && !facts.is_directory) ok = copy_file_data(writer, handle, walk->path, facts.size, result, items);
    CloseHandle(handle);
    if (!ok) return false;
    ++*items;
    if (!facts.is_directory) return true;
    return add_folder_contents(writer, walk, result, items, depth);
}

bool add_path_to_archive(struct archive* writer, const wchar_t* source_path, const wchar_t* entry_name,
                         const ListEntry* expected, OperationResult* result, uint32_t* items, uint32_t depth) {
    TreeWalk* walk = (TreeWalk*)mem_alloc(sizeof(TreeWalk));
    if (walk == nullptr) return record_failure(result, RESULT_OUT_OF_MEMORY, nullptr);
    bool ok = false;
    if (!text_copy(walk->path, PATH_CAPACITY, source_path) || !text_copy(walk->name, PATH_CAPACITY, entry_name))
        record_failure(result, RESULT_IO_ERROR, source_path);
    else
        ok = add_item(writer, walk, expected, result, items, depth);
    mem_free(walk);
    return ok;
}

// ---- the operation -------------------------------------------------------------------------

bool finish_archive_writer(struct archive* writer, const wchar_t* temporary_path, const wchar_t* output_path,
                           bool items_ok, uint32_t items, OperationResult* result) {
    if (!items_ok) {
        // A failed entry leaves the writer in no state worth closing.
        g_engine.archive_write_free(writer);
        DeleteFileW(temporary_path);
        return false;
    }
    bool ok = g_engine.archive_write_close(writer) == ARCHIVE_OK || record_engine_error(result, writer);
    g_engine.archive_write_free(writer);
    if (ok) ok = operation_should_continue(result, items);
    if (ok && MoveFileExW(temporary_path, output_path, 0)) return true;
    if (ok) record_failure(result, path_exists(output_path) ? RESULT_OUTPUT_EXISTS : RESULT_IO_ERROR, output_path);
    DeleteFileW(temporary_path);
    return false;
}

// An archive may not be written inside one of its own source folders.
static bool output_inside_folder(const wchar_t* output_path, const wchar_t* source) {
    if (!path_is_directory(source)) return false;
    uint32_t source_length = text_length(source);
    uint32_t output_length = text_length(output_path);
    return output_length > source_length && output_path[source_length] == L'\\' &&
           CompareStringOrdinal(output_path, (int)source_length, source, (int)source_length, TRUE) == CSTR_EQUAL;
}

static bool check_sources(const wchar_t* output_path, wchar_t* const* sources, uint32_t count,
                          OperationResult* result) {
    for (uint32_t i = 0; i < count; ++i) {
        const wchar_t* last = path_file_name(sources[i]);
        if (last[0] == 0) return record_failure(result, RESULT_IO_ERROR, sources[i]);
        if (output_inside_folder(output_path, sources[i])) return record_failure(result, RESULT_IO_ERROR, output_path);
        for (uint32_t j = 0; j < i; ++j)
            if (text_equal_nocase(last, path_file_name(sources[j])))
                return record_failure(result, RESULT_DUPLICATE_NAME, last);
    }
    return true;
}

bool create_archive(const wchar_t* output_path, wchar_t* const* sources, uint32_t source_count, uint32_t format,
                    int32_t level, const wchar_t* password, OperationResult* result) {
    if (!check_sources(output_path, sources, source_count, result)) return false;
    wchar_t temporary_path[PATH_CAPACITY];
    struct archive* writer = open_archive_writer(output_path, temporary_path, format, level, password, result);
    if (writer == nullptr) return false;
    uint32_t items = 0;
    bool ok = true;
    for (uint32_t i = 0; ok && i < source_count; ++i)
        ok = add_path_to_archive(writer, sources[i], path_file_name(sources[i]), nullptr, result, &items, 0);
    return finish_archive_writer(writer, temporary_path, output_path, ok, items, result);
}
