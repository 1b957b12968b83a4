#include "operations/extract.h"

#include <windows.h>

#include "common/file_io.h"
#include "common/path.h"
#include "common/text.h"
#include "engine/engine_api.h"
#include "engine/engine_errors.h"
#include "engine/entry_names.h"
#include "engine/reader.h"
#include "engine/safe_paths.h"
#include "operations/operation_result.h"

// Seconds between 1601-01-01 and 1970-01-01, and the last second of 9999 counted from 1601.
static const uint64_t UNIX_EPOCH_IN_FILETIME_SECONDS = 11644473600ull;
static const uint64_t LAST_FILETIME_SECOND = 265046774399ull;

static bool is_root_entry(const wchar_t* name) {
    return text_equal_nocase(name, L".") || text_equal_nocase(name, L"./") || text_equal_nocase(name, L".\\");
}

static bool names_equal(const wchar_t* a, int a_length, const wchar_t* b, int b_length) {
    return CompareStringOrdinal(a, a_length, b, b_length, FALSE) == CSTR_EQUAL;
}

static bool set_detail(OperationResult* result, int32_t code, const wchar_t* detail) {
    result->code = code;
    if (detail == nullptr || !text_copy(result->detail, DETAIL_CAPACITY, detail)) result->detail[0] = 0;
    return false;
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

bool copy_entry_data(struct archive* reader, void* file, OperationResult* result, uint32_t item, int64_t size) {
    uint8_t buffer[DATA_CHUNK_SIZE];
    uint64_t total = size > 0 ? (uint64_t)size : 0;
    uint64_t done = 0;
    if (result->on_percent != nullptr) result->on_percent(result->context, 0, total);
    la_ssize n = g_engine.archive_read_data(reader, buffer, DATA_CHUNK_SIZE);
    bool ok = true;
    while (ok && n > 0) {
        if (!operation_should_continue(result, item)) {
            ok = false;
            break;
        }
        if (file != nullptr && !write_all((HANDLE)file, buffer, (uint32_t)n)) {
            ok = set_detail(result, RESULT_IO_ERROR, nullptr);
            break;
        }
        done += (uint64_t)n;
        if (result->on_percent != nullptr) result->on_percent(result->context, done, total);
        n = g_engine.archive_read_data(reader, buffer, DATA_CHUNK_SIZE);
    }
    if (ok && n < 0) ok = record_engine_error(result, reader);
    return ok;
}

static void apply_modification_time(HANDLE file, struct archive_entry* entry) {
    if (g_engine.archive_entry_mtime_is_set(entry) == 0) return;
    uint64_t seconds = (uint64_t)g_engine.archive_entry_mtime(entry) + UNIX_EPOCH_IN_FILETIME_SECONDS;
    if (seconds > LAST_FILETIME_SECOND) return;  // earlier than 1601 wraps around and lands here too
    uint64_t ticks = seconds * 10000000ull;
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
        return set_detail(result, path_exists(out) ? RESULT_OUTPUT_EXISTS : RESULT_IO_ERROR, name);
    bool ok = copy_entry_data(reader, file, result, item, g_engine.archive_entry_size(entry));
    if (ok) apply_modification_time(file, entry);
    CloseHandle(file);
    return ok;
}

// Steps for one extracted entry after its name passed the listing checks.
static bool extract_one(struct archive* reader, struct archive_entry* entry, const wchar_t* root, const wchar_t* name,
                        uint32_t item, OperationResult* result) {
    unsigned type = g_engine.archive_entry_filetype(entry) & AE_IFMT;
    if (type != AE_IFREG && type != AE_IFDIR) return set_detail(result, RESULT_UNSAFE_PATH, name);
    if (g_engine.archive_entry_hardlink_w(entry) != nullptr || g_engine.archive_entry_hardlink_utf8(entry) != nullptr)
        return set_detail(result, RESULT_UNSAFE_PATH, name);
    wchar_t out[PATH_CAPACITY];
    if (!make_output_path(out, root, name, type == AE_IFDIR, result)) return false;
    if (type == AE_IFDIR) return true;
    return write_file_entry(reader, entry, out, name, item, result);
}

bool extract_entries(const wchar_t* archive_path, const wchar_t* password, const wchar_t* root,
                     const EntryList* listing, const uint8_t* selection, OperationResult* result) {
    struct archive* reader = open_reader(archive_path, password, result);
    if (reader == nullptr) return false;
    wchar_t name_buffer[PATH_CAPACITY];
    uint32_t i = 0;
    bool compare_at_end = true;
    for (;;) {
        if (!operation_should_continue(result, i)) {
            compare_at_end = false;
            break;
        }
        struct archive_entry* entry = nullptr;
        int status = g_engine.archive_read_next_header(reader, &entry);
        if (status == ARCHIVE_EOF) break;
        if (status < ARCHIVE_WARN) {
            record_engine_error(result, reader);
            break;
        }
        if (root == nullptr) {
            // Testing reads data only: names, types and links are not examined.
            if (!copy_entry_data(reader, nullptr, result, i, g_engine.archive_entry_size(entry))) break;
            ++i;
            continue;
        }
        const wchar_t* name = entry_name(entry, name_buffer);
        if (name == nullptr) {
            set_detail(result, RESULT_UNSAFE_PATH, nullptr);
            compare_at_end = false;
            break;
        }
        if (is_root_entry(name)) continue;
        if (selection != nullptr) {
            if (i >= listing->count || !names_equal(listing->items[i].name, -1, name, -1)) {
                set_detail(result, RESULT_ARCHIVE_ERROR, name);
                break;
            }
            if (selection[i] == 0 && !inside_selected_folder(name, listing, selection)) {
                ++i;
                continue;
            }
        }
        ++i;
        if (!extract_one(reader, entry, root, name, i, result)) break;
    }
    if (compare_at_end && result->code == RESULT_OK && selection != nullptr && i != listing->count)
        set_detail(result, RESULT_ARCHIVE_ERROR, nullptr);
    g_engine.archive_read_free(reader);
    return result->code == RESULT_OK;
}

bool test_archive(const wchar_t* archive_path, const wchar_t* password, OperationResult* result) {
    return extract_entries(archive_path, password, nullptr, nullptr, nullptr, result);
}

bool extract_archive(const wchar_t* archive_path, const wchar_t* password, const wchar_t* target,
                     const EntryList* listing, const uint8_t* selection, OperationResult* result) {
    if (path_exists(target)) return set_detail(result, RESULT_OUTPUT_EXISTS, target);
    wchar_t work[PATH_CAPACITY];
    if (!make_work_path(work, target) || !CreateDirectoryW(work, nullptr))
        return set_detail(result, RESULT_IO_ERROR, target);
    bool ok = extract_entries(archive_path, password, work, listing, selection, result) &&
              operation_should_continue(result, listing != nullptr ? listing->count : 0);
    if (ok) {
        if (MoveFileExW(work, target, 0)) return true;
        set_detail(result, path_exists(target) ? RESULT_OUTPUT_EXISTS : RESULT_IO_ERROR, target);
    }
    remove_tree(work, 0);
    return false;
}
