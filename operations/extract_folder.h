// The name of a new folder for an archive's extraction.
#pragma once

#include <wchar.h>

// Used when an archive's name yields no valid folder name.
#define QUEUE_FALLBACK_FOLDER_NAME L"Lumarek"

// output (PATH_CAPACITY units) := a path in parent that does not exist yet, named after the
// archive without its extension (".tar.gz" counts as one), with " (2)", " (3)", ... added when
// taken. The folder is only named here, not created.
bool extract_folder_for(const wchar_t* archive_path, const wchar_t* parent, wchar_t* output);
