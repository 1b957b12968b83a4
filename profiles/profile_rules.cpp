#include "profiles/profile_rules.h"

#include <windows.h>

static bool is_extension_separator(wchar_t unit) {
    return unit == L'\t' || unit == L' ' || unit == L',' || unit == L';';
}

static bool is_blank(wchar_t unit) {
    return unit == L' ' || unit == L'\t';
}

static bool equal_nocase(const wchar_t* a, uint32_t a_length, const wchar_t* b, uint32_t b_length) {
    return a_length == b_length && CompareStringOrdinal(a, (int)a_length, b, (int)b_length, TRUE) == CSTR_EQUAL;
}

static void read_extensions(const wchar_t* field, ProfileRules* rules) {
    bool any_rule = false;
    uint32_t i = 0;
    while (field[i] != 0 && i < PROFILE_EXTENSIONS_CAPACITY) {
        if (is_extension_separator(field[i])) {
            ++i;
            continue;
        }
        uint32_t start = i;
        while (field[i] != 0 && i < PROFILE_EXTENSIONS_CAPACITY && !is_extension_separator(field[i])) ++i;
        uint32_t length = i - start;
        any_rule = true;
        if (length == 1 && field[start] == L'*') {
            rules->every_file = true;
            continue;
        }
        // "*.pdf" and ".pdf" both mean "pdf"; what is left may be empty, a rule that takes nothing.
        uint32_t cut = (length > 1 && field[start] == L'*' && field[start + 1] == L'.') ? 2
                       : field[start] == L'.'                                           ? 1
                                                                                        : 0;
        if (length > cut && rules->extension_count < MAX_RULE_PIECES)
            rules->extension_pieces[rules->extension_count++] = {(uint16_t)(start + cut), (uint16_t)(length - cut)};
    }
    if (!any_rule) rules->every_file = true;
}

static void read_skip_folders(const wchar_t* field, ProfileRules* rules) {
    uint32_t i = 0;
    while (field[i] != 0 && i < PROFILE_SKIP_FOLDERS_CAPACITY) {
        uint32_t start = i;
        while (field[i] != 0 && i < PROFILE_SKIP_FOLDERS_CAPACITY && field[i] != L';') ++i;
        uint32_t end = i;
        if (field[i] == L';') ++i;
        while (start < end && is_blank(field[start])) ++start;
        while (end > start && is_blank(field[end - 1])) --end;
        if (end > start && rules->skip_count < MAX_RULE_PIECES)
            rules->skip_pieces[rules->skip_count++] = {(uint16_t)start, (uint16_t)(end - start)};
    }
}

void read_profile_rules(const Profile* profile, ProfileRules* rules) {
    rules->extensions = profile->extensions;
    rules->skip_folders = profile->skip_folders;
    rules->every_file = false;
    rules->extension_count = 0;
    rules->skip_count = 0;
    read_extensions(profile->extensions, rules);
    read_skip_folders(profile->skip_folders, rules);
}

bool rules_take_file(const ProfileRules* rules, const wchar_t* name, uint32_t length) {
    if (rules->every_file) return true;
    for (uint32_t i = 0; i < rules->extension_count; ++i) {
        const RulePiece& piece = rules->extension_pieces[i];
        if (length <= piece.length || name[length - piece.length - 1] != L'.') continue;
        if (equal_nocase(name + length - piece.length, piece.length, rules->extensions + piece.start, piece.length))
            return true;
    }
    return false;
}

bool rules_skip_folder(const ProfileRules* rules, const wchar_t* name, uint32_t length) {
    for (uint32_t i = 0; i < rules->skip_count; ++i) {
        const RulePiece& piece = rules->skip_pieces[i];
        if (equal_nocase(name, length, rules->skip_folders + piece.start, piece.length)) return true;
    }
    return false;
}
