#include "profiles/profile_zip.h"

#include <windows.h>

#include "common/path.h"
#include "common/text.h"
#include "operations/archive_format.h"
#include "operations/create.h"

// An entry's disk path and its name in the ZIP.
struct ZipItem {
    wchar_t path[PATH_CAPACITY];
    wchar_t name[PATH_CAPACITY];
};

static bool add_file(struct archive* writer, const wchar_t* source_folder, const ListEntry* entry, ZipItem* item,
                     OperationResult* result, uint32_t* items) {
    if (!path_join(item->path, PATH_CAPACITY, source_folder, entry->name) ||
        !text_copy(item->name, PATH_CAPACITY, entry->name))
        return record_failure(result, RESULT_IO_ERROR, entry->name);
    for (wchar_t* unit = item->name; *unit != 0; ++unit)
        if (*unit == L'\\') *unit = L'/';
    return add_path_to_archive(writer, item->path, item->name, entry, result, items, 0);
}

bool create_profile_zip(const wchar_t* zip_path, const wchar_t* source_folder, const EntryList* files, int32_t level,
                        OperationResult* result) {
    if (files->count == 0) return record_failure(result, RESULT_NO_MATCHING_FILES, nullptr);
    wchar_t temporary_path[PATH_CAPACITY];
    struct archive* writer = open_archive_writer(zip_path, temporary_path, FORMAT_ZIP, level, L"", result);
    if (writer == nullptr) return false;
    ZipItem item;
    uint32_t items = 0;
    bool ok = true;
    for (uint32_t i = 0; ok && i < files->count; ++i)
        ok = add_file(writer, source_folder, &files->items[i], &item, result, &items);
    return finish_archive_writer(writer, temporary_path, zip_path, ok, items, result);
}
