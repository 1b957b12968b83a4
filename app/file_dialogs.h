// The common open and save dialogs, owned by the main window.
#pragma once

#include <stdint.h>
#include <wchar.h>

enum FilesChoice {
    FILES_CANCELED,
    FILES_CHOSEN,
    FILES_TOO_MANY,  // the names chosen do not fit into the buffer
};

// The open dialog for existing files, with a filter of "name\0patterns\0" pairs ending in an
// empty name. With several allowed the buffer holds either one full path, or a folder followed by
// the chosen names, each ended by a zero unit and the list by an empty name.
FilesChoice choose_files_to_open(wchar_t* buffer, uint32_t capacity, const wchar_t* filter, bool several);

// The open dialog with several files allowed, with room for at most `limit` names of any length:
// visit gets each chosen path as for_each_chosen_file hands it over. FILES_TOO_MANY means that
// more than `limit` files were chosen and none was handed over.
FilesChoice for_each_file_to_open(const wchar_t* filter, uint32_t limit,
                                  bool (*visit)(const wchar_t* path, void* context), void* context);

// Archives first, then all files.
const wchar_t* archive_filter();

// The save dialog for a new archive of the format (filter of that format only, no overwrite
// prompt) into a PATH_CAPACITY buffer. False on Cancel.
bool choose_archive_to_save(wchar_t* path, uint32_t format);

// Walks the result of an open dialog with several files allowed, calling visit with each full
// path in turn (joined into a PATH_CAPACITY buffer) until visit returns false. A name whose path
// does not fit is handed over as none, so the caller decides whether to go on.
void for_each_chosen_file(const wchar_t* buffer, bool (*visit)(const wchar_t* path, void* context), void* context);
