#include "profiles/profile_scan.h"

#include <windows.h>

#include <stdlib.h>

#include "common/memory.h"
#include "common/path.h"
#include "common/text.h"
#include "profiles/profile_rules.h"

// The folder being listed and its name relative to the source folder; each level appends a folder
// name and cuts it off again, so a deep tree costs little stack. A file's own paths are never
// built: its relative name is written straight into its list entry.
struct ScanWalk {
    wchar_t path[PATH_CAPACITY];
    wchar_t relative[PATH_CAPACITY];
    ProfileRules rules;
    const wchar_t* zip_path;
    const wchar_t* zip_name;  // the ZIP's own name, after the last "\" of zip_path
    uint32_t zip_folder_length;
    EntryList* list;
    OperationResult* result;
};

// The folder being listed, as far as one entry needs it.
struct ScanLevel {
    uint32_t path_length;
    uint32_t relative_length;
    uint32_t depth;
    bool holds_zip;  // the ZIP being made would be an entry of this folder
};

static bool cancel_requested(const OperationResult* result) {
    return result->cancel_flag != nullptr && InterlockedCompareExchange(result->cancel_flag, 0, 0) != 0;
}

// The separator path_join puts between a folder of this length and a name: none after an empty
// folder or one that ends in "\".
static uint32_t separator_length(const wchar_t* folder, uint32_t length) {
    return length == 0 || folder[length - 1] == L'\\' ? 0 : 1;
}

// Appends the separator and the name, as path_join does.
static void append_name(wchar_t* text, uint32_t length, const wchar_t* name, uint32_t name_length) {
    uint32_t at = length + separator_length(text, length);
    text[length] = L'\\';
    for (uint32_t i = 0; i <= name_length; ++i) text[at + i] = name[i];
}

// Whether the folder's path joined with a name can equal the ZIP's path: the ZIP's folder part is
// this folder (ignoring case) and what follows it is a name alone.
static bool folder_holds_zip(const ScanWalk* walk, uint32_t path_length) {
    uint32_t name_start = path_length + separator_length(walk->path, path_length);
    if (walk->zip_folder_length != name_start) return false;
    if (name_start > path_length && walk->zip_path[path_length] != L'\\') return false;
    return CompareStringOrdinal(walk->zip_path, (int)path_length, walk->path, (int)path_length, TRUE) == CSTR_EQUAL;
}

static bool add_file(ScanWalk* walk, const ScanLevel* level, const WIN32_FIND_DATAW* found, uint32_t name_length) {
    EntryList* list = walk->list;
    if (!entry_list_make_room(list, PREVIEW_MAX_FILES))
        return record_failure(walk->result, RESULT_OUT_OF_MEMORY, nullptr);
    // The relative name, as path_join of the relative folder and the name gives it, in a block of its exact size.
    uint32_t length = level->relative_length + separator_length(walk->relative, level->relative_length) + name_length;
    wchar_t* name = (wchar_t*)mem_alloc(((size_t)length + 1) * sizeof(wchar_t));
    if (name == nullptr) return record_failure(walk->result, RESULT_OUT_OF_MEMORY, nullptr);
    for (uint32_t i = 0; i < level->relative_length; ++i) name[i] = walk->relative[i];
    append_name(name, level->relative_length, found->cFileName, name_length);
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
static bool scan_entry(ScanWalk* walk, const ScanLevel* level, const WIN32_FIND_DATAW* found) {
    const wchar_t* name = found->cFileName;
    uint32_t name_length = text_length(name);
    bool is_folder = (found->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (is_folder ? rules_skip_folder(&walk->rules, name, name_length)
                  : !rules_take_file(&walk->rules, name, name_length))
        return true;
    if (!operation_should_continue(walk->result, walk->list->count)) return false;
    // The child's path and relative path must fit, as path_join would make them.
    uint32_t path_length = level->path_length;
    uint32_t relative_length = level->relative_length;
    if (path_length + separator_length(walk->path, path_length) + name_length >= PATH_CAPACITY ||
        relative_length + separator_length(walk->relative, relative_length) + name_length >= PATH_CAPACITY)
        return record_failure_cut(walk->result, RESULT_IO_ERROR, walk->path);
    // The ZIP being made is never packed into itself.
    if (level->holds_zip && text_equal_nocase(name, walk->zip_name)) return true;
    bool link = (found->dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (!is_folder && !link) return add_file(walk, level, found, name_length);

    append_name(walk->path, path_length, name, name_length);
    bool ok;
    if (link) {
        ok = record_failure_cut(walk->result, RESULT_LINK_OR_CLOUD_SOURCE, walk->path);
    } else {
        append_name(walk->relative, relative_length, name, name_length);
        ok = scan_level(walk, level->depth + 1);
        walk->relative[relative_length] = 0;
    }
    walk->path[path_length] = 0;
    return ok;
}

static bool scan_level(ScanWalk* walk, uint32_t depth) {
    OperationResult* result = walk->result;
    if (depth > MAX_SCAN_DEPTH) return record_failure_cut(result, RESULT_IO_ERROR, walk->path);
    if (cancel_requested(result)) return record_failure(result, RESULT_CANCELED, nullptr);
    ScanLevel level = {text_length(walk->path), text_length(walk->relative), depth, false};
    level.holds_zip = folder_holds_zip(walk, level.path_length);
    if (level.path_length + separator_length(walk->path, level.path_length) + 1 >= PATH_CAPACITY)
        return record_failure_cut(result, RESULT_IO_ERROR, walk->path);
    append_name(walk->path, level.path_length, L"*", 1);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(walk->path, &found);
    DWORD error = GetLastError();
    walk->path[level.path_length] = 0;
    if (search == INVALID_HANDLE_VALUE)
        return error == ERROR_FILE_NOT_FOUND || record_failure_cut(result, RESULT_IO_ERROR, walk->path);
    bool ok = true;
    for (;;) {
        const wchar_t* name = found.cFileName;
        bool dots = name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
        if (!dots && !scan_entry(walk, &level, &found)) {
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
        walk->zip_name = path_file_name(zip_path);
        walk->zip_folder_length = (uint32_t)(walk->zip_name - zip_path);
        walk->list = list;
        walk->result = result;
        ok = scan_level(walk, depth);
    }
    mem_free(walk);
    return ok;
}

// Ordinal order after simple case folding, no locale: what CompareStringOrdinal with case folding
// gives, with the units of plain ASCII folded here (most names are made of them).
static int compare_names(const void* a, const void* b) {
    const wchar_t* left = ((const ListEntry*)a)->name;
    const wchar_t* right = ((const ListEntry*)b)->name;
    for (;; ++left, ++right) {
        wchar_t l = *left, r = *right;
        if (l >= 0x80 || r >= 0x80) return CompareStringOrdinal(left, -1, right, -1, TRUE) - CSTR_EQUAL;
        if (l >= L'a' && l <= L'z') l -= 0x20;
        if (r >= L'a' && r <= L'z') r -= 0x20;
        if (l != r) return l < r ? -1 : 1;
        if (l == 0) return 0;
    }
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
