// The files a profile selects: its source folder scanned with the extension and skip-folder rules,
// each file listed under its path relative to the source folder with the size and last-write time
// the folder listing reports. No file is opened.
#pragma once

#include <stdint.h>
#include <wchar.h>

#include "common/operation_result.h"
#include "operations/entry_list.h"
#include "profiles/profile_store.h"

// A preview holds at most this many files (the list's capacity doubles from 256 up to it).
const uint32_t PREVIEW_MAX_FILES = 131072;

// The deepest folder scanned: this many levels below the source folder.
const uint32_t MAX_SCAN_DEPTH = 100;

// Appends the files below the folder (depth levels below the source folder, relative names
// starting with the prefix, which is empty for the source folder itself) to the list. The ZIP
// being made (zip_path) is never listed; a link, junction or cloud placeholder that the rules
// would enter or take fails the scan with RESULT_LINK_OR_CLOUD_SOURCE.
bool scan_profile_folder(const Profile* profile, const wchar_t* folder, const wchar_t* prefix, const wchar_t* zip_path,
                         EntryList* list, OperationResult* result, uint32_t depth);

// The body of the preview operation: the scan of the profile's source folder into the empty list,
// sorted by name (ordinal, ignoring case). RESULT_NO_MATCHING_FILES when nothing matches; on any
// failure the list keeps what was collected, for its owner to free.
bool preview_profile_files(const Profile* profile, const wchar_t* zip_path, EntryList* list, OperationResult* result);
