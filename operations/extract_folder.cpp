#include "operations/extract_folder.h"

#include <windows.h>

#include "common/path.h"
#include "common/text.h"
#include "engine/safe_paths.h"

static const uint32_t FOLDER_NAME_CAPACITY = 256;

// Cuts the last extension, or ".tar.gz" as a whole; a name that starts with its only dot keeps it.
static void cut_extension(wchar_t* name) {
    uint32_t length = text_length(name);
    uint32_t dot = length;
    for (uint32_t i = length; i > 0; --i) {
        if (name[i - 1] == L'.') {
            dot = i - 1;
            break;
        }
    }
    if (dot == length || dot == 0) return;
    if (text_equal_nocase(name + dot, L".gz") && dot >= 5 &&
        CompareStringOrdinal(name + dot - 4, 4, L".tar", 4, TRUE) == CSTR_EQUAL)
        dot -= 4;
    name[dot] = 0;
}

bool extract_folder_for(const wchar_t* archive_path, const wchar_t* parent, wchar_t* output) {
    wchar_t name[FOLDER_NAME_CAPACITY];
    if (!text_copy(name, FOLDER_NAME_CAPACITY, path_file_name(archive_path))) return false;
    cut_extension(name);
    if (!is_safe_file_name(name)) text_copy(name, FOLDER_NAME_CAPACITY, QUEUE_FALLBACK_FOLDER_NAME);
    if (!path_join(output, PATH_CAPACITY, parent, name)) return false;
    if (!path_exists(output)) return true;
    for (uint64_t k = 2;; ++k) {
        wchar_t candidate[FOLDER_NAME_CAPACITY];
        wchar_t number[DECIMAL_CAPACITY];
        format_decimal(number, k);
        if (!text_copy(candidate, FOLDER_NAME_CAPACITY, name) || !text_append(candidate, FOLDER_NAME_CAPACITY, L" (") ||
            !text_append(candidate, FOLDER_NAME_CAPACITY, number) ||
            !text_append(candidate, FOLDER_NAME_CAPACITY, L")"))
            return false;
        if (!path_join(output, PATH_CAPACITY, parent, candidate)) return false;
        if (!path_exists(output)) return true;
    }
}
