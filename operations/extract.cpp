#include "operations/extract.h"

#include <windows.h>

#include "common/file_io.h"
#include "common/file_time.h"
#include "common/path.h"
#include "common/text.h"
#include "engine/engine_api.h"
#include "engine/engine_errors.h"
#include "engine/entry_names.h"
#include "engine/reader.h"
#include "engine/safe_paths.h"

// ---- steps shared by extracting and testing ------------------------------------------------

enum HeaderRead { HEADER_READY, HEADER_END, HEADER_FAILED };

static HeaderRead read_header(struct archive* reader, struct archive_entry** entry, OperationResult* result) {
    int status = g_engine.archive_read_next_header(reader, entry);
    if (status == ARCHIVE_EOF) return HEADER_END;
    if (status < ARCHIVE_WARN) {
        record_engine_error(result, reader);
        return HEADER_FAILED;
    }
    return HEADER_READY;
}

// Reads the current entry's data to its end, writing it to the file when one is given.
static bool copy_entry_data(struct archive* reader, HANDLE file, OperationResult* result, uint32_t item, int64_t size) {
    uint8_t buffer[DATA_CHUNK_SIZE];
    uint64_t total = size > 0 ? (uint64_t)size : 0;
    uint64_t done = 0;
    if (result->on_percent != nullptr) result->on_percent(result->context, 0, total);
    la_ssize n = g_engine.archive_read_data(reader, buffer, DATA_CHUNK_SIZE);
    while (n > 0) {
        if (!operation_should_continue(result, item)) return false;
        if (file != nullptr && !write_all(file, buffer, (uint32_t)n))
            return record_failure(result, RESULT_IO_ERROR, nullptr);
        done += (uint64_t)n;
        if (result->on_percent != nullptr) result->on_percent(result->context, done, total);
        n = g_engine.archive_read_data(reader, buffer, DATA_CHUNK_SIZE);
    }
    return n == 0 || record_engine_error(result, reader);
}

// ---- extracting ----------------------------------------------------------------------------

static bool names_equal(const wchar_t* a, int a_length, const wchar_t* b, int b_length) {
    return CompareStringOrdinal(a, a_length, b, b_length, FALSE) == CSTR_EQUAL;
}

// True when the name lies inside a folder row of the listing whose selection byte is set.
static bool inside_selected_folder(const wchar_t* name, const EntryList* listing, const uint8_t* selection) {
    uint32_t name_length = text_length(name);
    for (uint32_t j = 0; j < listing->count; ++j) {
        const ListEntry* folder = &listing->items[j];
        if (selection[j] == 0 || !folder->is_directory) continue;
        uint32_t n = text_length(folder->name);
        while (n > 0 && (folder->name[n - 1] == L'/' || folder->name[n - 1] == L'\\')) --n;
        if (name_length <= n || (name[n] != L'/' && name[n] != L'\\')) continue;
        if (names_equal(name, (int)n, folder->name, (int)n)) return true;
    }
    return false;
}

static void apply_modification_time(HANDLE file, struct archive_entry* entry) {
    if (g_engine.archive_entry_mtime_is_set(entry) == 0) return;
    uint64_t seconds = (uint64_t)g_engine.archive_entry_mtime(entry) + UNIX_EPOCH_IN_FILETIME_SECONDS;
    if (seconds > LAST_FILETIME_SECOND) return;  // earlier than 1601 wraps around and lands here too
    uint64_t ticks = seconds * FILETIME_UNITS_PER_SECOND;
    FILETIME written;
    written.dwLowDateTime = (DWORD)ticks;
    written.dwHighDateTime = (DWORD)(ticks >> 32);
    SetFileTime(file, nullptr, nullptr, &written);
}

// Creates one regular file entry at out and fills it with the entry's data.
static bool write_file_entry(struct archive* reader, struct archive_entry* entry, const wchar_t* out,
                             const wchar_t* name, uint32_t item, OperationResult* result) {
    HANDLE file = CreateFileW(out, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return record_failure(result, path_exists(out) ? RESULT_OUTPUT_EXISTS : RESULT_IO_ERROR, name);
    bool ok = copy_entry_data(reader, file, result, item, g_engine.archive_entry_size(entry));
    if (ok) apply_modification_time(file, entry);
    CloseHandle(file);
    return ok;
}

// Creates one entry below the root: a folder, or a file with its data. Links and other types are refused.
static bool extract_one(struct archive* reader, struct archive_entry* entry, const wchar_t* root, const wchar_t* name,
                        uint32_t item, OperationResult* result) {
    unsigned type = g_engine.archive_entry_filetype(entry) & AE_IFMT;
    if (type != AE_IFREG && type != AE_IFDIR) return record_failure(result, RESULT_UNSAFE_PATH, name);
    if (g_engine.archive_entry_hardlink_w(entry) != nullptr || g_engine.archive_entry_hardlink_utf8(entry) != nullptr)
        return record_failure(result, RESULT_UNSAFE_PATH, name);
    wchar_t out[PATH_CAPACITY];
    if (!make_output_path(out, root, name, type == AE_IFDIR, result)) return false;
    if (type == AE_IFDIR) return true;
    return write_file_entry(reader, entry, out, name, item, result);
}

// The entry loop of an extraction into root. Entries are counted as the listing counts them (the
// root entry left out), so that index i is the entry's row in the listing and in the selection.
static void extract_entries(struct archive* reader, const wchar_t* root, const EntryList* listing,
                            const uint8_t* selection, OperationResult* result) {
    wchar_t name_buffer[PATH_CAPACITY];
    uint32_t i = 0;
    for (;;) {
        if (!operation_should_continue(result, i)) return;
        struct archive_entry* entry = nullptr;
        HeaderRead read = read_header(reader, &entry, result);
        if (read == HEADER_END) break;
        if (read == HEADER_FAILED) return;
        const wchar_t* name = entry_name(entry, name_buffer);
        if (name == nullptr) {
            record_failure(result, RESULT_UNSAFE_PATH, nullptr);
            return;
        }
        if (is_root_entry(name)) continue;
        if (selection != nullptr) {
            // The archive must still be the one that was listed.
            if (i >= listing->count || !names_equal(listing->items[i].name, -1, name, -1)) {
                record_failure(result, RESULT_ARCHIVE_ERROR, name);
                return;
            }
            if (selection[i] == 0 && !inside_selected_folder(name, listing, selection)) {
                ++i;
                continue;
            }
        }
        ++i;
        if (!extract_one(reader, entry, root, name, i, result)) return;
    }
    // A listed archive that ended early is not the one that was listed either.
    if (selection != nullptr && i != listing->count) record_failure(result, RESULT_ARCHIVE_ERROR, nullptr);
}

bool extract_archive(const wchar_t* archive_path, const wchar_t* password, const wchar_t* target,
                     const EntryList* listing, const uint8_t* selection, OperationResult* result) {
    if (path_exists(target)) return record_failure(result, RESULT_OUTPUT_EXISTS, target);
    wchar_t work[PATH_CAPACITY];
    if (!make_work_path(work, target) || !CreateDirectoryW(work, nullptr))
        return record_failure(result, RESULT_IO_ERROR, target);
    struct archive* reader = open_reader(archive_path, password, result);
    if (reader != nullptr) {
        extract_entries(reader, work, listing, selection, result);
        g_engine.archive_read_free(reader);
    }
    // A cancel that arrived after the last entry still discards everything.
    if (result->code == RESULT_OK && operation_should_continue(result, listing != nullptr ? listing->count : 0)) {
        if (MoveFileExW(work, target, 0)) return true;
        record_failure(result, path_exists(target) ? RESULT_OUTPUT_EXISTS : RESULT_IO_ERROR, target);
    }
    remove_tree(work, 0);
    return false;
}

// ---- testing -------------------------------------------------------------------------------

bool test_archive(const wchar_t* archive_path, const wchar_t* password, OperationResult* result) {
    struct archive* reader = open_reader(archive_path, password, result);
    if (reader == nullptr) return false;
    // Only the data is read: names, types and links are not examined.
    for (uint32_t i = 0; operation_should_continue(result, i); ++i) {
        struct archive_entry* entry = nullptr;
        if (read_header(reader, &entry, result) != HEADER_READY) break;
        if (!copy_entry_data(reader, nullptr, result, i, g_engine.archive_entry_size(entry))) break;
    }
    g_engine.archive_read_free(reader);
    return result->code == RESULT_OK;
}
