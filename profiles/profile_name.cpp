#include "profiles/profile_name.h"

#include <windows.h>

#include "common/path.h"
#include "common/text.h"
#include "engine/safe_paths.h"

const uint32_t DATE_CAPACITY = 16;

static bool starts_with(const wchar_t* text, const wchar_t* prefix) {
    while (*prefix != 0)
        if (*text++ != *prefix++) return false;
    return true;
}

// "{folder}" and "{date}" replaced, in their exact letter case; any other brace makes it invalid.
static bool expand_pattern(const wchar_t* pattern, const wchar_t* folder_word, const wchar_t* date,
                           wchar_t* expansion) {
    expansion[0] = 0;
    for (const wchar_t* unit = pattern; *unit != 0;) {
        if (starts_with(unit, L"{folder}")) {
            if (!text_append(expansion, ZIP_NAME_CAPACITY, folder_word)) return false;
            unit += 8;
        } else if (starts_with(unit, L"{date}")) {
            if (!text_append(expansion, ZIP_NAME_CAPACITY, date)) return false;
            unit += 6;
        } else if (*unit == L'{' || *unit == L'}') {
            return false;
        } else {
            wchar_t single[2] = {*unit++, 0};
            if (!text_append(expansion, ZIP_NAME_CAPACITY, single)) return false;
        }
    }
    return true;
}

bool profile_zip_path(const Profile* profile, wchar_t* output) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t date[DATE_CAPACITY];
    if (GetDateFormatEx(LOCALE_NAME_INVARIANT, 0, &now, L"yyyy-MM-dd", date, DATE_CAPACITY, nullptr) == 0) return false;

    // A drive root has no name: its letter stands for it.
    wchar_t folder_word[PATH_CAPACITY];
    const wchar_t* last = path_file_name(profile->source_folder);
    if (last[0] != 0) {
        if (!text_copy(folder_word, PATH_CAPACITY, last)) return false;
    } else {
        folder_word[0] = profile->source_folder[0];
        folder_word[1] = 0;
    }

    wchar_t expansion[ZIP_NAME_CAPACITY];
    if (!expand_pattern(profile->name_pattern, folder_word, date, expansion) || !is_safe_file_name(expansion))
        return false;
    uint32_t length = text_length(expansion);
    if (length > 4 && text_equal_nocase(expansion + length - 4, L".zip")) {
        expansion[length - 4] = 0;
        if (!is_safe_file_name(expansion)) return false;
    }

    for (uint32_t n = 1; n <= MAX_NAME_NUMBER; ++n) {
        wchar_t candidate[ZIP_NAME_CAPACITY];
        wchar_t number[DECIMAL_CAPACITY];
        format_decimal(number, n);
        bool fits = text_copy(candidate, ZIP_NAME_CAPACITY, expansion) &&
                    (n == 1 || (text_append(candidate, ZIP_NAME_CAPACITY, L" (") &&
                                text_append(candidate, ZIP_NAME_CAPACITY, number) &&
                                text_append(candidate, ZIP_NAME_CAPACITY, L")"))) &&
                    text_append(candidate, ZIP_NAME_CAPACITY, L".zip") &&
                    path_join(output, PATH_CAPACITY, profile->destination_folder, candidate);
        if (!fits) {
            output[0] = 0;
            return false;
        }
        if (!path_exists(output)) return true;
    }
    output[0] = 0;
    return false;
}
