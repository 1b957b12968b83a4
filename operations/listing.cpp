#include "operations/listing.h"

#include "common/text.h"
#include "engine/engine_errors.h"
#include "engine/entry_names.h"
#include "engine/reader.h"

// Records one entry; false (with the code set) when the list cannot take it.
static bool record_entry(EntryList* list, const wchar_t* name, struct archive_entry* entry, OperationResult* result) {
    if (!entry_list_make_room(list, LIST_MAX_CAPACITY)) {
        result->code = RESULT_OUT_OF_MEMORY;
        return false;
    }
    wchar_t* copy = text_duplicate(name);
    if (copy == nullptr) {
        result->code = RESULT_OUT_OF_MEMORY;
        return false;
    }
    int64_t size = g_engine.archive_entry_size(entry);
    ListEntry* item = &list->items[list->count];
    item->name = copy;
    item->size = size < 1 ? 0 : size;
    item->modified = 0;
    item->is_directory = g_engine.archive_entry_filetype(entry) == AE_IFDIR ? 1 : 0;
    item->is_encrypted = g_engine.archive_entry_is_encrypted(entry) > 0 ? 1 : 0;
    ++list->count;
    return true;
}

bool list_archive(const wchar_t* archive_path, const wchar_t* password, EntryList* list, OperationResult* result) {
    struct archive* reader = open_reader(archive_path, password, result);
    if (reader == nullptr) return false;
    wchar_t buffer[PATH_CAPACITY];
    while (operation_should_continue(result, list->count)) {
        struct archive_entry* entry = nullptr;
        int status = g_engine.archive_read_next_header(reader, &entry);
        if (status == ARCHIVE_EOF) break;
        // A retry means the engine found no valid header here (a damaged one): the archive is
        // damaged, whatever the cleared entry would say about its name.
        if (status < ARCHIVE_WARN || status == ARCHIVE_RETRY) {
            record_engine_error(result, reader);
            break;
        }
        const wchar_t* name = entry_name(entry, buffer);
        if (name == nullptr) {
            result->code = RESULT_UNSAFE_PATH;
            break;
        }
        if (!is_root_entry(name) && !record_entry(list, name, entry, result)) break;
        if (g_engine.archive_read_data_skip(reader) < ARCHIVE_WARN) {
            record_engine_error(result, reader);
            break;
        }
    }
    g_engine.archive_read_free(reader);
    if (result->code != RESULT_OK) entry_list_free(list);
    return result->code == RESULT_OK;
}
