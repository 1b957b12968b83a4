#include "profiles/profile_scan.h"

#include <windows.h>

#include <stdlib.h>

#include "common/memory.h"
#include "common/text.h"
#include "profiles/profile_rules.h"

// The folder being listed and its name relative to the source folder; each level appends an entry
// name and cuts it off again, so a deep tree costs little stack.
struct ScanWalk {
    wchar_t path[PATH_CAPACITY];
    wchar_t relative[PATH_CAPACITY];
    ProfileRules rules;
    const wchar_t* zip_path;
    EntryList* list;
    OperationResult* result;
};

static bool cancel_requested(const OperationResult* result) {
    return result->cancel_flag != nullptr && InterlockedCompareExchange(result->cancel_flag, 0, 0) != 0;
}

// Appends "\" (unless the text is empty or ends in one) and the name, as path_join does.
static bool append_name(wchar_t* text, uint32_t length, const wchar_t* name) {
    bool separated = length == 0 || text[length - 1] == L'\\' || text_append(text, PATH_CAPACITY, L"\\");
    return separated && text_append(text, PATH_CAPACITY, name);
}

static bool add_file(ScanWalk* walk, const WIN32_FIND_DATAW* found) {
    EntryList* list = walk->list;
    if (!entry_list_make_room(list, PREVIEW_MAX_FILES))
        return record_failure(walk->result, RESULT_OUT_OF_MEMORY, nullptr);
    wchar_t* name = text_duplicate(walk->relative);
    if (name == nullptr) return record_failure(walk->result, RESULT_OUT_OF_MEMORY, nullptr);
    ListEntry* entry = &list->items[list->count++];
    entry->name = name;
    entry->size = (int64_t)((uint64_t)found->nFileSizeHigh << 32 | found->nFileSizeLow);
    entry->modified = (uint64_t)found->ftLastWriteTime.dwHighDateTime << 32 | found->ftLastWriteTime.dwLowDateTime;
    entry->is_directory = 0;
    entry->is_encrypted = 0;
    return true;
}

static bool scan_level(ScanWalk* walk, uint32_t depth);

// One entry of the folder being listed (walk->path); false ends the scan.
static bool scan_entry(ScanWalk* walk, const WIN32_FIND_DATAW* found, uint32_t path_length, uint32_t relative_length,
                       uint32_t depth) {
    const wchar_t* name = found->cFileName;
    uint32_t name_length = text_length(name);
    bool is_folder = (found->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (is_folder ? rules_skip_folder(&walk->rules, name, name_length)
                  : !rules_take_file(&walk->rules, name, name_length))
        return true;
    if (!operation_should_continue(walk->result, walk->list->count)) return false;
    if (!append_name(walk->path, path_length, name) || !append_name(walk->relative, relative_length, name)) {
        walk->path[path_length] = 0;
        return record_failure_cut(walk->result, RESULT_IO_ERROR, walk->path);
    }
    bool ok = true;
    // The ZIP being made is never packed into itself.
    if (text_equal_nocase(walk->path, walk->zip_path))
        ok = true;
    else if (found->dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        ok = record_failure_cut(walk->result, RESULT_LINK_OR_CLOUD_SOURCE, walk->path);
    else if (is_folder)
        ok = scan_level(walk, depth + 1);
    else
        ok = add_file(walk, found);
    walk->path[path_length] = 0;
    walk->relative[relative_length] = 0;
    return ok;
}

static bool scan_level(ScanWalk* walk, uint32_t depth) {
    OperationResult* result = walk->result;
    if (depth > MAX_SCAN_DEPTH) return record_failure_cut(result, RESULT_IO_ERROR, walk->path);
    if (cancel_requested(result)) return record_failure(result, RESULT_CANCELED, nullptr);
    uint32_t path_length = text_length(walk->path);
    uint32_t relative_length = text_length(walk->relative);
    if (!append_name(walk->path, path_length, L"*")) return record_failure_cut(result, RESULT_IO_ERROR, walk->path);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(walk->path, &found);
    DWORD error = GetLastError();
    walk->path[path_length] = 0;
    if (search == INVALID_HANDLE_VALUE)
        return error == ERROR_FILE_NOT_FOUND || record_failure_cut(result, RESULT_IO_ERROR, walk->path);
    bool ok = true;
    for (;;) {
        const wchar_t* name = found.cFileName;
        bool dots = name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
        if (!dots && !scan_entry(walk, &found, path_length, relative_length, depth)) {
            ok = false;
            break;
        }
        if (!FindNextFileW(search, &found)) {
            if (GetLastError() != ERROR_NO_MORE_FILES) ok = record_failure_cut(result, RESULT_IO_ERROR, walk->path);
            break;
        }
    }
    FindClose(search);
    return ok;
}

bool scan_profile_folder(const Profile* profile, const wchar_t* folder, const wchar_t* prefix, const wchar_t* zip_path,
                         EntryList* list, OperationResult* result, uint32_t depth) {
    ScanWalk* walk = (ScanWalk*)mem_alloc(sizeof(ScanWalk));
    if (walk == nullptr) return record_failure(result, RESULT_OUT_OF_MEMORY, nullptr);
    bool ok = false;
    if (!text_copy(walk->path, PATH_CAPACITY, folder) || !text_copy(walk->relative, PATH_CAPACITY, prefix)) {
        record_failure_cut(result, RESULT_IO_ERROR, folder);
    } else {
        read_profile_rules(profile, &walk->rules);
        walk->zip_path = zip_path;
        walk->list = list;
        walk->result = result;
        ok = scan_level(walk, depth);
    }
    mem_free(walk);
    return ok;
}

// Ordinal order after simple case folding, no locale.
static int compare_names(const void* a, const void* b) {
    const ListEntry* left = (const ListEntry*)a;
    const ListEntry* right = (const ListEntry*)b;
    return CompareStringOrdinal(left->name, -1, right->name, -1, TRUE) - CSTR_EQUAL;
}

bool preview_profile_files(const Profile* profile, const wchar_t* zip_path, EntryList* list, OperationResult* result) {
    const wchar_t* source = profile->source_folder;
    DWORD attributes = GetFileAttributesW(source);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return record_failure_cut(result, RESULT_IO_ERROR, source);
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return record_failure_cut(result, RESULT_LINK_OR_CLOUD_SOURCE, source);
    if (!scan_profile_folder(profile, source, L"", zip_path, list, result, 0)) return false;
    if (list->count == 0) return record_failure(result, RESULT_NO_MATCHING_FILES, nullptr);
    qsort(list->items, list->count, sizeof(ListEntry), compare_names);
    return true;
}
