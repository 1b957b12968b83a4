// The commands of the ZIP profiles view: reading the fields into a profile, saving and deleting
// it, the preview and Create ZIP, and the two Browse… buttons.
#pragma once

#include <wchar.h>

#include "profiles/profile_store.h"

// Fills the zeroed record from the fields (the folders as full paths of existing folders) and
// works out the ZIP path it names (PATH_CAPACITY units). False, with the reason in the status
// line, when a folder is missing or the name pattern gives no valid, free ZIP name.
bool read_profile_fields(Profile* record, wchar_t* zip_path);

// Browse… for the source folder (which also ends a "--profile" folder's override) and for the
// destination.
void command_browse_source_folder();
void command_browse_destination_folder();

// Save profile, or Delete profile after its question.
void save_or_delete_profile(bool delete_profile);

// Preview files, and Create ZIP at the default compression of the moment it is pressed.
void command_preview_files();
void command_create_zip();
