#include "engine/safe_paths.h"

#include <windows.h>

#include "common/path.h"
#include "common/text.h"

static bool is_forbidden_unit(wchar_t unit) {
    if (unit < 0x20) return true;
    switch (unit) {
    case L'"':
    case L'*':
    case L'/':
    case L':':
    case L'<':
    case L'>':
    case L'?':
    case L'|':
    case L'\\':
        return true;
    }
    return false;
}

static bool is_device_digit(wchar_t unit) {
    return (unit >= L'0' && unit <= L'9') || unit == 0x00B9 || unit == 0x00B2 || unit == 0x00B3;
}

bool is_safe_name_component(const wchar_t* name) {
    uint32_t length = text_length(name);
    if (length == 0) return false;
    if (name[length - 1] == L'.' || name[length - 1] == L' ') return false;
    for (uint32_t i = 0; i < length; ++i)
        if (is_forbidden_unit(name[i])) return false;

    // The part before the first dot, as Windows matches device names.
    wchar_t base[12];
    uint32_t base_length = 0;
    while (base_length < 11 && name[base_length] != 0 && name[base_length] != L'.') {
        base[base_length] = name[base_length];
        ++base_length;
    }
    while (base_length > 0 && base[base_length - 1] == L' ') --base_length;
    base[base_length] = 0;

    const wchar_t* const devices[] = {L"CON", L"NUL", L"AUX", L"PRN", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* device : devices)
        if (text_equal_nocase(base, device)) return false;
    if (base_length == 4 && is_device_digit(base[3])) {
        wchar_t stem[4] = {base[0], base[1], base[2], 0};
        if (text_equal_nocase(stem, L"COM") || text_equal_nocase(stem, L"LPT")) return false;
    }
    return true;
}

bool is_safe_file_name(const wchar_t* name) {
    return text_length(name) <= MAX_FILE_NAME_LENGTH && is_safe_name_component(name);
}

bool ensure_directory(const wchar_t* path) {
    return CreateDirectoryW(path, nullptr) || path_is_plain_directory(path);
}

static bool is_separator(wchar_t unit) {
    return unit == L'/' || unit == L'\\';
}

// Makes every folder named by a separator of the path after the first `from` units, shallowest
// first; on failure the detail is the folder that could not be made.
static bool make_folders_on_the_way(wchar_t* path, uint32_t from, OperationResult* result) {
    for (uint32_t i = from; path[i] != 0; ++i) {
        if (path[i] != L'\\') continue;
        path[i] = 0;
        if (!ensure_directory(path)) return record_failure(result, RESULT_IO_ERROR, path);
        path[i] = L'\\';
    }
    return true;
}

bool make_output_path(wchar_t* out, const wchar_t* root, const wchar_t* name, bool is_directory,
                      OperationResult* result) {
    if (is_separator(name[0])) return record_failure(result, RESULT_UNSAFE_PATH, name);
    if (!path_join(out, PATH_CAPACITY, root, L"")) return record_failure(result, RESULT_UNSAFE_PATH, name);
    uint32_t prefix_length = text_length(out);
    if (name[0] == 0) return record_failure(result, RESULT_UNSAFE_PATH, nullptr);

    uint32_t components = 0;
    const wchar_t* next = name;
    while (*next != 0) {
        wchar_t component[MAX_COMPONENT_LENGTH + 1];
        uint32_t length = 0;
        while (next[length] != 0 && !is_separator(next[length])) {
            if (length == MAX_COMPONENT_LENGTH) return record_failure(result, RESULT_UNSAFE_PATH, nullptr);
            component[length] = next[length];
            ++length;
        }
        component[length] = 0;
        next += length;
        while (is_separator(*next)) ++next;

        if (length == 1 && component[0] == L'.') continue;
        ++components;
        if (!is_safe_name_component(component) || components > MAX_PATH_COMPONENTS ||
            !text_append(out, PATH_CAPACITY, component))
            return record_failure(result, RESULT_UNSAFE_PATH, component);
        if (*next == 0) break;
        if (!text_append(out, PATH_CAPACITY, L"\\")) return record_failure(result, RESULT_UNSAFE_PATH, nullptr);
    }
    // Only "." components: nothing names an entry below the root.
    if (components == 0 || text_length(out) <= prefix_length)
        return record_failure(result, RESULT_UNSAFE_PATH, nullptr);
    // The folders on the way are made only once the whole name is known to be safe and to fit, so
    // a refused name leaves no folder behind and is refused alike on every file system.
    if (!make_folders_on_the_way(out, prefix_length, result)) return false;
    if (!is_directory) return true;
    if (!ensure_directory(out)) return record_failure(result, RESULT_IO_ERROR, out);
    return true;
}

bool make_work_path(wchar_t* out, const wchar_t* target) {
    wchar_t folder[PATH_CAPACITY];
    wchar_t number[DECIMAL_CAPACITY];
    if (!path_parent(folder, PATH_CAPACITY, target)) return false;
    if (!path_join(out, PATH_CAPACITY, folder, WORK_PREFIX)) return false;
    format_decimal(number, GetCurrentProcessId());
    if (!text_append(out, PATH_CAPACITY, number) || !text_append(out, PATH_CAPACITY, L"-")) return false;
    format_decimal(number, GetTickCount64());
    return text_append(out, PATH_CAPACITY, number);
}

// Appends "\\" (unless the path ends in one) and the name; false, with the path as it was, when
// that does not fit.
static bool append_component(wchar_t* path, uint32_t length, const wchar_t* name) {
    bool ok = length == 0 || path[length - 1] == L'\\' || text_append(path, PATH_CAPACITY, L"\\");
    if (ok) ok = text_append(path, PATH_CAPACITY, name);
    if (!ok) path[length] = 0;
    return ok;
}

// Works in one path buffer for the whole tree: each level appends its entry's name and cuts it
// off again, so a deep tree costs little stack.
static void remove_tree_in(wchar_t* path, uint32_t depth) {
    if (depth > MAX_REMOVE_DEPTH) return;
    uint32_t length = text_length(path);
    if (!append_component(path, length, L"*")) return;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path, &found);
    path[length] = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const wchar_t* entry = found.cFileName;
            if ((entry[0] == L'.' && entry[1] == 0) || (entry[0] == L'.' && entry[1] == L'.' && entry[2] == 0))
                continue;
            if (append_component(path, length, entry)) {
                if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                    DeleteFileW(path);
                } else if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                    // The link itself goes; what it points at is never entered.
                    RemoveDirectoryW(path);
                } else {
                    remove_tree_in(path, depth + 1);
                }
            }
            path[length] = 0;
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path);
}

void remove_tree(const wchar_t* path, uint32_t depth) {
    wchar_t buffer[PATH_CAPACITY];
    if (!text_copy(buffer, PATH_CAPACITY, path)) return;
    remove_tree_in(buffer, depth);
}
