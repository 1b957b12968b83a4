// New archives: written to a reserved temporary sibling, moved onto the output only when complete.
#pragma once

#include <stdint.h>
#include <wchar.h>

#include "operations/archive_format.h"
#include "operations/entry_list.h"
#include "operations/operation.h"

struct archive;

const uint32_t MAX_SOURCE_DEPTH = 100;
const uint32_t COPY_CHUNK_SIZE = 65536;

// Packs the sources (files and folder trees, each under its last path component) into a new
// archive at output_path.
bool create_archive(const wchar_t* output_path, wchar_t* const* sources, uint32_t source_count, uint32_t format,
                    int32_t level, const wchar_t* password, OperationResult* result);

// Reserves the temporary sibling of the output (its path goes to temporary_path, PATH_CAPACITY
// units) and opens a configured engine writer on it. On failure nothing is left behind.
struct archive* open_archive_writer(const wchar_t* output_path, wchar_t* temporary_path, uint32_t format, int32_t level,
                                    const wchar_t* password, OperationResult* result);

// Ends a writer of open_archive_writer. After every item succeeded (items_ok) it closes the writer
// and moves the temporary file onto the output, never replacing one; otherwise, or when closing,
// the final continue check or the move fails, it frees the writer and deletes the temporary file.
bool finish_archive_writer(struct archive* writer, const wchar_t* temporary_path, const wchar_t* output_path,
                           bool items_ok, uint32_t items, OperationResult* result);

// Writes one file, or one folder with everything below it, under the entry name. With an
// expected record the file must still have the size and last-write time it had then.
bool add_path_to_archive(struct archive* writer, const wchar_t* source_path, const wchar_t* entry_name,
                         const ListEntry* expected, OperationResult* result, uint32_t* items, uint32_t depth);
