// Extraction into a new folder (built in a work folder, renamed at the end) and archive testing.
#pragma once

#include <stdint.h>
#include <wchar.h>

#include "common/operation_result.h"
#include "operations/entry_list.h"

const uint32_t DATA_CHUNK_SIZE = 65536;

// Extracts the archive (or, with a listing and a selection, the selected entries and everything
// inside selected folders) into the target folder, which must not exist yet.
bool extract_archive(const wchar_t* archive_path, const wchar_t* password, const wchar_t* target,
                     const EntryList* listing, const uint8_t* selection, OperationResult* result);

// Reads every entry's data and throws it away, so the engine checks the whole archive.
bool test_archive(const wchar_t* archive_path, const wchar_t* password, OperationResult* result);
