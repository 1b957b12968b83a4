// The ZIP of a previewed profile: exactly the previewed files, each still as the preview saw it,
// under their names relative to the source folder with "/" separators and no folder entries.
#pragma once

#include <stdint.h>
#include <wchar.h>

#include "common/operation_result.h"
#include "operations/entry_list.h"

// The body of the profile ZIP operation. Written through a temporary sibling and moved onto
// zip_path without replacing; RESULT_FILES_CHANGED when a file vanished, became a folder or
// changed its size or last-write time since the preview; nothing is left behind on failure.
bool create_profile_zip(const wchar_t* zip_path, const wchar_t* source_folder, const EntryList* files, int32_t level,
                        OperationResult* result);
