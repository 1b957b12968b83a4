// The common open and save dialogs, owned by the main window.
#pragma once

#include <stdint.h>
#include <wchar.h>

// Capacity of the buffer of a dialog that may return several files.
const uint32_t MULTIPLE_FILES_CAPACITY = 32768;

// The open dialog for existing files, with a filter of "name\0patterns\0" pairs ending in an
// empty name. With several allowed the buffer holds either one full path, or a folder followed by
// the chosen names, each ended by a zero unit and the list by an empty name. False on Cancel.
bool choose_files_to_open(wchar_t* buffer, uint32_t capacity, const wchar_t* filter, bool several);

// Archives first, then all files.
const wchar_t* archive_filter();

// The save dialog for a new archive of the format (filter of that format only, no overwrite
// prompt) into a PATH_CAPACITY buffer. False on Cancel.
bool choose_archive_to_save(wchar_t* path, uint32_t format);

// Walks the result of an open dialog with several files allowed, calling visit with each full
// path in turn (joined into a PATH_CAPACITY buffer) until visit returns false. A name whose path
// does not fit is handed over as none, so the caller decides whether to go on.
void for_each_chosen_file(const wchar_t* buffer, bool (*visit)(const wchar_t* path, void* context), void* context);
