#include "engine/entry_names.h"

#include <windows.h>

#include "common/text.h"

const wchar_t* entry_name(struct archive_entry* entry, wchar_t* buffer) {
    const wchar_t* wide = g_engine.archive_entry_pathname_w(entry);
    if (wide != nullptr && wide[0] != 0) return wide;
    const char* utf8 = g_engine.archive_entry_pathname_utf8(entry);
    if (utf8 == nullptr) return nullptr;
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, buffer, (int)PATH_CAPACITY) <= 0) return nullptr;
    return buffer;
}

bool is_root_entry(const wchar_t* name) {
    return text_equal_nocase(name, L".") || text_equal_nocase(name, L"./") || text_equal_nocase(name, L".\\");
}
